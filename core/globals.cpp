#include "core/globals.h"

namespace Allgemein {

void ResetGlobals()
{
    SoundOn = Defaults::SoundOn;
    PenColor = Defaults::PenColor;
    PenWidth = Defaults::PenWidth;
    LanguageOffset = Defaults::LanguageOffset;
    PenWindowShown = Defaults::PenWindowShown;
    TemplateIndex = Defaults::TemplateIndex;
    PreviewLarge = Defaults::PreviewLarge;
    GridShown = Defaults::GridShown;
    DrawSteps = Defaults::DrawSteps;
    PictureName.clear();
    StartingUp = False;
    LanguageFilePath.clear();
}

} // namespace Allgemein
