// A picture in the pictures folder with any bytes: the file panel's load gives a
// picture that can be shown, or raises 481; reading one file never holds more
// than 64 MB.

#include "core/errorframe.h"
#include "core/picturefile.h"
#include "fuzz/fuzzcheck.h"

#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <sanitizer/allocator_interface.h>

#include <atomic>
#include <cstdlib>

namespace {
// What the process holds on the heap, and the most it held since the last reset.
std::atomic<bool> g_counting{false};
std::atomic<long long> g_live{0};
std::atomic<long long> g_peak{0};

void onMalloc(const volatile void *, size_t size)
{
    if (!g_counting)
        return;
    const long long now = g_live += (long long)size;
    long long peak = g_peak;
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
}

void onFree(const volatile void *ptr)
{
    if (g_counting && ptr)
        g_live -= (long long)__sanitizer_get_allocated_size(const_cast<const void *>(ptr));
}

constexpr long long Limit = 64LL * 1024 * 1024;
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv); // image plugins are found through it
    __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Bild.bmp"));
    {
        QFile f(path);
        check(f.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the test file");
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }

    g_live = 0;
    g_peak = 0;
    g_counting = true;
    int raised = 0;
    try {
        const QImage image = PictureFile::load(path);
        check(!image.isNull() && !image.size().isEmpty(), "an empty picture without an error");
        // As the preview shows it: stretched into the box.
        QImage box(400, 300, QImage::Format_RGB32);
        QPainter p(&box);
        p.drawImage(box.rect(), image);
    } catch (const RuntimeError &e) {
        raised = e.number;
    }
    g_counting = false;
    check(raised == 0 || raised == Err::InvalidPicture, "an error other than 481");
    if (g_peak > Limit) {
        fprintf(stderr, "picture load: %lld bytes held at once\n", (long long)g_peak);
        std::abort();
    }
    return 0;
}
