/* cscan: the plainest C loop over a folder, the floor for the folder scan. For every
 * entry whose extension is a masterpoint extension (any letter case) and which is not a
 * folder by its directory entry: open it, read 13 bytes, close it, and count it when all
 * 13 are digits. No stat, no attribute word, no path kept: readdir, open, read, close. */

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>
#include <unistd.h>

static int isCandidate(const char* name) {
    static const char* const extensions[] = {".MP1", ".MP2", ".MP3", ".MP4", ".MP5",
                                             ".GLD", ".RED", ".GRN", ".GAR", ".RAG"};
    const char* dot = strrchr(name, '.');
    if (dot == NULL) {
        return 0;
    }
    for (size_t i = 0; i < sizeof extensions / sizeof extensions[0]; ++i) {
        if (strcasecmp(dot, extensions[i]) == 0) {
            return 1;
        }
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fputs("usage: cscan <folder>\n", stderr);
        return 2;
    }
    DIR* dir = opendir(argv[1]);
    if (dir == NULL) {
        perror(argv[1]);
        return 1;
    }
    char path[4096];
    const size_t folderLength = strlen(argv[1]);
    if (folderLength + 2 >= sizeof path) {
        return 1;
    }
    memcpy(path, argv[1], folderLength);
    path[folderLength] = '/';
    size_t valid = 0;
    const struct dirent* entry;
    while ((entry = readdir(dir)) != NULL) {
        if (entry->d_type == DT_DIR || !isCandidate(entry->d_name)) {
            continue;
        }
        const size_t nameLength = strlen(entry->d_name);
        if (folderLength + 1 + nameLength >= sizeof path) {
            continue;
        }
        memcpy(path + folderLength + 1, entry->d_name, nameLength + 1);
        const int fd = open(path, O_RDONLY);
        if (fd < 0) {
            continue;
        }
        char head[13];
        const ssize_t got = read(fd, head, sizeof head);
        close(fd);
        if (got == (ssize_t)sizeof head) {
            size_t i = 0;
            while (i < sizeof head && head[i] >= '0' && head[i] <= '9') {
                ++i;
            }
            valid += i == sizeof head;
        }
    }
    closedir(dir);
    printf("%zu files listed\n", valid);
    return 0;
}
