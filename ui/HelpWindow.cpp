// SPDX-License-Identifier: MIT
#include "ui/HelpWindow.h"

#include "platform/Runtime.h"

#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QVBoxLayout>

// The document lives in the ui library's resources, which a static library
// has to register by hand (outside any namespace).
static void RegisterHelpResource()
{
    Q_INIT_RESOURCE(help);
}

namespace ui {

namespace {

constexpr int ClientWidthTwips = 7485;
constexpr int ClientHeightTwips = 4020;

} // namespace

QString HelpWindow::Document(Language language)
{
    static const bool registered = (RegisterHelpResource(), true);
    Q_UNUSED(registered);
    // The Japanese page is the original; the English one has the same
    // sections in the same order and style.
    QFile file(language == Language::English ? QStringLiteral(":/help/help_en.html")
                                             : QStringLiteral(":/help/help.html"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll()).trimmed(); // no blank after the last paragraph
}

HelpWindow::HelpWindow(QWidget* owner)
    : QWidget(owner, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // It opens at its classic size and grows with its edges, the text
    // flowing to the new width; it never gets too small for a line of text.
    resize(rt::Px(ClientWidthTwips), rt::Px(ClientHeightTwips));
    setMinimumSize(rt::Px(ClientWidthTwips) / 2, rt::Px(ClientHeightTwips) / 2);
    document = new QTextBrowser(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(document);
    document->setOpenLinks(false);
    retranslate();
    document->installEventFilter(this);
    document->viewport()->installEventFilter(this);
    installEventFilter(this);
}

void HelpWindow::retranslate()
{
    setWindowTitle(tr("ゼルモアのヘルプ"));
    const Language language = CurrentLanguage();
    if (pageLanguage_ == language)
        return;
    pageLanguage_ = language;
    document->setHtml(Document(language));
}

void HelpWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace ui
