/* The floor of a run: writes files of given names and sizes into a folder,
 * one open/write/close each, all from one buffer, then deletes those marked
 * so. Nothing else: what any program that leaves the same files must at
 * least do.
 *
 * With --durable, each file that stays is flushed to the disk before it is
 * closed, and the folder once at the end: the floor of a run whose files
 * must survive a power cut.
 *
 * Usage: floor [--durable] DIR NAME=SIZE[:d] ...   (":d": deleted once all
 * are written, as the program deletes its two source files) */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    int durable = 0;
    if (argc > 1 && strcmp(argv[1], "--durable") == 0) {
        durable = 1;
        ++argv;
        --argc;
    }
    if (argc < 2) {
        fprintf(stderr, "usage: floor [--durable] DIR NAME=SIZE[:d] ...\n");
        return 2;
    }
    size_t largest = 0;
    for (int i = 2; i < argc; ++i) {
        const char* eq = strrchr(argv[i], '=');
        if (!eq)
            return 2;
        size_t n = strtoull(eq + 1, NULL, 10);
        if (n > largest)
            largest = n;
    }
    char* buffer = malloc(largest ? largest : 1);
    if (!buffer)
        return 1;
    memset(buffer, 'x', largest);
    char path[4096];
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 2; i < argc; ++i) {
            char name[1024];
            const char* eq = strrchr(argv[i], '=');
            size_t len = (size_t)(eq - argv[i]);
            if (len >= sizeof name)
                return 2;
            memcpy(name, argv[i], len);
            name[len] = 0;
            snprintf(path, sizeof path, "%s/%s", argv[1], name);
            const int deleted = strstr(eq, ":d") != NULL;
            if (pass == 0) {
                size_t n = strtoull(eq + 1, NULL, 10);
                int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
                if (fd < 0)
                    return 1;
                for (size_t done = 0; done < n;) {
                    ssize_t w = write(fd, buffer + done, n - done);
                    if (w <= 0)
                        return 1;
                    done += (size_t)w;
                }
                if (durable && !deleted && fsync(fd) != 0)
                    return 1;
                close(fd);
            } else if (deleted) {
                unlink(path);
            }
        }
    }
    if (durable) {
        const int dir = open(argv[1], O_RDONLY | O_DIRECTORY);
        if (dir < 0 || fsync(dir) != 0)
            return 1;
        close(dir);
    }
    free(buffer);
    return 0;
}
