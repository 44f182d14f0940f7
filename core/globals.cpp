#include "core/globals.h"

namespace Allgemein {

void ResetGlobals()
{
    SoundOn = True;
    PenColor = 0;
    PenWidth = 5;
    LanguageOffset = 0;
    PenWindowShown = True;
    TemplateIndex = 1;
    PreviewLarge = True;
    GridShown = True;
    PictureName.clear();
    PenWindowLeft = PenWindowTop = PickerLeft = PickerTop = 0;
    StartingUp = False;
    LanguageFilePath.clear();
}

} // namespace Allgemein
