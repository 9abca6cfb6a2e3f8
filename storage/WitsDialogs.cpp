#include "storage/WitsDialogs.h"

#include "platform/Fonts.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"

#include <QDialog>
#include <QDir>

namespace storage {

void SetUpWitsDialog(QDialog& dialog, const QString& caption, int widthTwips, int heightTwips)
{
    dialog.setWindowTitle(caption);
    dialog.setFont(ui::GameFont());
    dialog.setFixedSize(rt::Px(widthTwips), rt::Px(heightTwips));
    dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint);
    // Shown before the main window: centre it on the screen.
    ui::CentreOnScreen(dialog);
}

QString ProgramFile(const QString& name)
{
    return QDir(ProgramDir()).filePath(name);
}

} // namespace storage
