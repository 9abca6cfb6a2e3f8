#include "storage/WitsDialogs.h"

#include "platform/Fonts.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"

#include <QDialog>
#include <QDir>
#include <QScreen>

namespace storage {

void SetUpWitsDialog(QDialog& dialog, const QString& caption, int widthTwips, int heightTwips)
{
    dialog.setWindowTitle(caption);
    QFont font(QString::fromUtf16(ui::GameFontFamily));
    font.setPointSizeF(9);
    dialog.setFont(font);
    dialog.setFixedSize(rt::Px(widthTwips), rt::Px(heightTwips));
    dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint);
    // Shown before the main window: centre it on the screen.
    if (const QScreen* screen = dialog.screen())
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
}

QString ProgramFile(const QString& name)
{
    return QDir(ProgramDir()).filePath(name);
}

} // namespace storage
