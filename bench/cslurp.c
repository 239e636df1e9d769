/* cslurp: the floor for a reader that keeps a whole file in memory, as the viewer must:
 * allocate the file's size, read it in, count its line feeds with memchr. No splitting
 * into lines and no sums: what it costs is the fresh memory and the copy.
 *
 *   cslurp <file>          memory from malloc, as any C or C++ program gets it
 *   cslurp --huge <file>   memory asked for in transparent huge pages (Linux), which
 *                          shows how much of the floor is first touches of 4 KiB pages */

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

static char* allocate(size_t size, int huge) {
#ifdef MADV_HUGEPAGE
    if (huge) {
        const size_t page = (size_t)2 << 20;
        const size_t rounded = (size + page - 1) / page * page;
        void* memory =
            mmap(NULL, rounded, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) {
            return NULL;
        }
        madvise(memory, rounded, MADV_HUGEPAGE);
        return memory;
    }
#else
    (void)huge;
#endif
    return malloc(size);
}

int main(int argc, char** argv) {
    const int huge = argc == 3 && strcmp(argv[1], "--huge") == 0;
    if (argc != 2 && !huge) {
        fputs("usage: cslurp [--huge] <file>\n", stderr);
        return 2;
    }
    const char* path = argv[argc - 1];
    const int fd = open(path, O_RDONLY);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0) {
        perror(path);
        return 1;
    }
    const size_t size = (size_t)st.st_size;
    char* text = allocate(size + 1, huge);
    if (text == NULL) {
        return 1;
    }
    size_t used = 0;
    for (;;) {
        const ssize_t n = read(fd, text + used, size + 1 - used);
        if (n <= 0) {
            break;
        }
        used += (size_t)n;
        if (used == size + 1) {
            break; /* grown since fstat: the floor needs no more */
        }
    }
    close(fd);
    size_t lines = 0;
    for (const char* p = text; (p = memchr(p, '\n', (size_t)(text + used - p))) != NULL; ++p) {
        ++lines;
    }
    printf("%zu lines\n", lines);
    return 0; /* the memory goes with the process */
}
