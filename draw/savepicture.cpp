#include "draw/savepicture.h"

#include "core/errorframe.h"
#include "core/globals.h"
#include "core/language.h"
#include "core/picturefile.h"
#include "core/texts.h"
#include "platform/prompts.h"

#include <QFileInfo>
#include <QImage>

namespace SavePicture {

void run(ErrorFrame &f, QWidget *parent, const QImage &picture)
{
    using namespace Allgemein;
    // Stays empty when the name is refused, so an Ignore writes nothing.
    QString target;
    f.line(90, [&] { PictureName = Prompts::input(parent, Msg(Text::EnterFileName), Msg(Text::SavePicture)); });
    f.line(100, [&] {
        if (PictureName.isEmpty())
            f.exit();
    });
    f.line(110, [&] { target = PictureFile::savedPath(PictureFile::makeFolder(), PictureName); });
    f.line(120, [&] {
        if (target.isEmpty() || !QFileInfo(target).isFile())
            return;
        const auto answer = Prompts::message(
            parent, Msg(Text::FileExists) + QStringLiteral("\r\n") + Msg(Text::OverwriteQuestion),
            Prompts::Buttons::YesNo, Prompts::Icon::Question, Msg(Text::EnterFileName), Prompts::Answer::No);
        if (answer != Prompts::Answer::Yes)
            f.exit();
    });
    f.line(130, [&] {
        if (!target.isEmpty())
            PictureFile::save(target, picture);
    });
}

} // namespace SavePicture
