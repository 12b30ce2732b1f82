#include "picturesave.h"

#include "curvexids.h"
#include "picturewriter.h"
#include "shownfiles.h"
#include "userprompts.h"

bool savePicture(PictureWriter&& writer, const QString& path) {
    QString reason = shownFileRefusal(path);
    if (reason.isEmpty())
        reason = writer.writeFile(path);
    if (reason.isEmpty())
        return true;
    prompts().messageBox(
        QStringLiteral("Cannot save the %1 as %2: %3").arg(writer.subject(), path, reason),
        UserPrompts::Buttons::Ok, UserPrompts::Icon::Exclamation,
        QLatin1String(curvex::kProgramTitle));
    return false;
}
