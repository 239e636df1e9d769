#pragma once
// The application-wide busy cursor, shown from start() until the guard goes out of
// scope, also when the work in between throws.

class BusyCursor {
public:
    BusyCursor() = default;
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    void start();

private:
    bool active_ = false;
};
