#pragma once
// The reason a file that was read is refused when it changed meanwhile (its size, its
// modification time or the file under its name differ between the start and the end of
// the reading): "it changed while it was read".

#include <system_error>

namespace mp {

std::error_code changedWhileRead();

} // namespace mp
