#include "platform/memory.h"

#include <QByteArray>
#include <QFile>

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace Memory {

void keepHeapSmall()
{
    // A fixed threshold: the C library would otherwise raise it to the size of
    // the largest block freed so far, and pictures would end up in the heap.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_ARENA_MAX, 2);
}

std::size_t handBackFilePages(const void *data, std::size_t size)
{
    const auto page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    const auto begin = (std::uintptr_t(data) + page - 1) / page * page;
    const auto end = (std::uintptr_t(data) + size) / page * page;
    if (!data || page == 0 || end <= begin)
        return 0;
    // Dropping a page of the heap would zero it: only a private, read-only
    // mapping of a file, never written, reads back what it held.
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return 0;
    bool safe = false;
    for (const QByteArray &line : maps.readAll().split('\n')) {
        // "start-end perms offset dev inode path"
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() < 6)
            continue;
        const qsizetype dash = f[0].indexOf('-');
        const auto from = std::uintptr_t(f[0].left(dash).toULongLong(nullptr, 16));
        const auto to = std::uintptr_t(f[0].mid(dash + 1).toULongLong(nullptr, 16));
        if (begin >= from && end <= to) {
            safe = f[1] == "r--p" && f[4] != "0" && f[5].startsWith('/');
            break;
        }
    }
    if (!safe || madvise(reinterpret_cast<void *>(begin), end - begin, MADV_DONTNEED) != 0)
        return 0;
    return end - begin;
}

} // namespace Memory
