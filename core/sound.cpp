#include "core/sound.h"

#include "core/errorframe.h"
#include "core/resources.h"

namespace Allgemein {

// Placeholder until the sound output lands: loads the sound, plays nothing.
void PlayWAV(int32_t number)
{
    ErrorFrame f("Allgemein", "PlayWAV");
    f.run([&] {
        f.line(10, [&] { SoundBuffer = ModResFiles::LoadResData(number, QStringLiteral("WAV")); });
    });
}

} // namespace Allgemein
