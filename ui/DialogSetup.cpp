// SPDX-License-Identifier: MIT
#include "ui/DialogSetup.h"

#include "platform/Runtime.h"
#include "platform/Seams.h"
#include "ui/Fonts.h"
#include "ui/Placement.h"

#include <QDialog>
#include <QDir>

namespace ui {

void SetUpFixedDialog(QDialog& dialog, const QString& caption, int widthTwips, int heightTwips)
{
    dialog.setWindowTitle(caption);
    dialog.setFont(GameFont());
    dialog.setFixedSize(rt::Px(widthTwips), rt::Px(heightTwips));
}

void SetUpWitsDialog(QDialog& dialog, const QString& caption, int widthTwips, int heightTwips)
{
    SetUpFixedDialog(dialog, caption, widthTwips, heightTwips);
    dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint);
    CentreOnScreen(dialog);
}

void CentreOnOwner(QWidget& dialog, const QWidget* owner)
{
    if (!owner) {
        CentreOnScreen(dialog);
        return;
    }
    const QRect frame = owner->frameGeometry();
    dialog.move(frame.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
}

QString ProgramFile(const QString& name)
{
    return QDir(ProgramDir()).filePath(name);
}

} // namespace ui
