#include "features/FrmHelp.h"

#include "app/FrmMain.h"
#include "platform/Runtime.h"

#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QTextBrowser>

// The document lives in the game library's resources, which a static
// library has to register by hand.
static void RegisterHelpResource()
{
    Q_INIT_RESOURCE(help);
}

namespace {

constexpr int ClientWidthTwips = 7485;
constexpr int ClientHeightTwips = 4020;

} // namespace

// Opens the help window, or brings the open one to the front.
void FrmMain::mnuMes_Click()
{
    setMousePointer(ui::MousePointer::Hourglass);
    if (!help_) {
        help_ = new FrmHelp(this);
        connect(help_, &QObject::destroyed, this, [this] { help_ = nullptr; });
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
    setMousePointer(ui::MousePointer::Default);
}

FrmHelp* FrmMain::helpWindow() const
{
    return help_;
}

QString FrmHelp::Document()
{
    static const bool registered = (RegisterHelpResource(), true);
    Q_UNUSED(registered);
    QFile file(QStringLiteral(":/help/help.html"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll()).trimmed(); // no blank after the last paragraph
}

// A window of its own (not a child of the owner's client area) that is
// destroyed on closing, so every opening loads the document afresh.
FrmHelp::FrmHelp(QWidget* owner)
    : QWidget(owner, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("ゼルモアのヘルプ"));
    setFixedSize(rt::Px(ClientWidthTwips), rt::Px(ClientHeightTwips));
    RichTextBox1 = new QTextBrowser(this);
    RichTextBox1->setGeometry(rt::TwipsRect(0, 0, 7455, 3975));
    RichTextBox1->setOpenLinks(false);
    RichTextBox1->setHtml(Document());
    // The window sees keys before the document view does.
    RichTextBox1->installEventFilter(this);
    RichTextBox1->viewport()->installEventFilter(this);
    installEventFilter(this);
}

void FrmHelp::Form_KeyDown(int keyCode, int /*shift*/)
{
    if (keyCode == 27)
        close();
}

bool FrmHelp::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Form_KeyDown(27, 0);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
