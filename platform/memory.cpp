#include "platform/memory.h"

#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QResource>

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace Memory {

void keepHeapSmall()
{
    // A fixed threshold: the C library would otherwise raise it to the size of
    // the largest block freed so far, and pictures would end up in the heap.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_ARENA_MAX, 2);
}

namespace {

using Span = std::pair<std::uintptr_t, std::uintptr_t>; // [first, second)

// The process's private, read-only mappings of files, never written: dropping a
// page of one loses nothing, a later read brings it back from the file. (Dropping
// a page of the heap would zero it.)
std::vector<Span> readOnlyFileMappings()
{
    std::vector<Span> spans;
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return spans;
    const QByteArray all = maps.readAll();
    for (qsizetype at = 0; at < all.size();) {
        qsizetype next = all.indexOf('\n', at);
        if (next < 0)
            next = all.size();
        // "start-end perms offset dev inode path"
        const QByteArray line = all.mid(at, next - at);
        at = next + 1;
        unsigned long from = 0, to = 0, inode = 0;
        char perms[5] = {};
        if (std::sscanf(line.constData(), "%lx-%lx %4s %*s %*s %lu", &from, &to, perms, &inode) == 4
            && std::strcmp(perms, "r--p") == 0 && inode != 0 && line.contains(" /"))
            spans.emplace_back(std::uintptr_t(from), std::uintptr_t(to));
    }
    return spans;
}

std::size_t handBack(const std::vector<Span> &mappings, Span data)
{
    const auto page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    if (page == 0)
        return 0;
    const std::uintptr_t begin = (data.first + page - 1) / page * page;
    const std::uintptr_t end = data.second / page * page;
    if (end <= begin)
        return 0;
    const bool safe = std::any_of(mappings.begin(), mappings.end(),
                                  [&](const Span &m) { return begin >= m.first && end <= m.second; });
    if (!safe || madvise(reinterpret_cast<void *>(begin), end - begin, MADV_DONTNEED) != 0)
        return 0;
    return end - begin;
}

} // namespace

std::size_t handBackFilePages(const void *data, std::size_t size)
{
    if (!data)
        return 0;
    return handBack(readOnlyFileMappings(), {std::uintptr_t(data), std::uintptr_t(data) + size});
}

std::size_t handBackEmbeddedData()
{
    // The resource compiler lays the files one after the other, each behind a
    // few bytes of its size: merged, they give back the whole pages between them.
    std::vector<Span> files;
    QDirIterator it(QStringLiteral(":/"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QResource file(it.next());
        if (file.isValid() && file.data() && file.size() > 0)
            files.emplace_back(std::uintptr_t(file.data()), std::uintptr_t(file.data()) + std::uintptr_t(file.size()));
    }
    std::sort(files.begin(), files.end());
    const std::vector<Span> mappings = readOnlyFileMappings();
    constexpr std::uintptr_t Gap = 64; // the size fields between two files
    std::size_t total = 0;
    for (std::size_t i = 0; i < files.size();) {
        Span merged = files[i];
        for (++i; i < files.size() && files[i].first <= merged.second + Gap; ++i)
            merged.second = std::max(merged.second, files[i].second);
        total += handBack(mappings, merged);
    }
    return total;
}

} // namespace Memory
