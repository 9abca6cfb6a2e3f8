// SPDX-License-Identifier: MIT
// The main window's size. The client area takes whatever size the window
// has; the machine fills it as far as its shape allows, centred, at a zoom of
// its own, and the marbled background covers the rest. The view menu's sizes
// make the window exactly the machine's size at their zoom; F11 fills the
// screen. The menu bar's font grows with the window.
#include "ui/MainWindow.h"

#include "platform/Runtime.h"
#include "ui/Fonts.h"
#include "ui/Placement.h"
#include "ui/Preferences.h"

#include <QEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <functional>

namespace ui {

namespace {

constexpr int ClientWidthTwips = 7410;
constexpr int ClientHeightTwips = 4275;

// The menu bar's font grows with the machine up to twice its size: larger,
// it would only crowd the bar.
constexpr double LargestMenuZoom = 2.0;

QSize MachineSize(double zoom)
{
    return QSize(rt::Px(ClientWidthTwips, zoom), rt::Px(ClientHeightTwips, zoom));
}

// The largest zoom at which the machine fits in `area`.
double ZoomFor(QSize area)
{
    const QSize machine = MachineSize(1.0);
    return std::min(double(area.width()) / machine.width(), double(area.height()) / machine.height());
}

QFont MenuFont(double zoom)
{
    QFont font = GameFont();
    font.setPointSizeF(font.pointSizeF() * zoom);
    return font;
}

// The client area: the marbled background, the machine's controls on it. Its
// owner hears of every change of size. The picture is read at the first
// paint, so the start-up's messages, shown before the window, do not wait
// for it.
class ClientArea : public QWidget {
public:
    ClientArea(QWidget* parent, std::function<void()> resized)
        : QWidget(parent)
        , resized_(std::move(resized))
    {
    }
    ShownPicture background;
    double zoom = 1.0;
    QPoint origin; // the machine's top left corner

protected:
    void resizeEvent(QResizeEvent*) override { resized_(); }
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void()> resized_;
};

// The background lies under the machine from its top left corner, as it
// always has. Beyond the machine it goes on in copies, each mirrored across
// the edge it shares with its neighbour, so that the marble's veins run on
// without a seam.
void ClientArea::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor(0xc8, 0xe4, 0xf8));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const qreal dpr = devicePixelRatioF();
    const QPixmap& picture = background.pixmap(dpr, zoom);
    const QSize tile = (picture.deviceIndependentSize() * zoom).toSize();
    if (picture.isNull() || tile.isEmpty())
        return;
    const int firstColumn = -((origin.x() + tile.width() - 1) / tile.width());
    const int firstRow = -((origin.y() + tile.height() - 1) / tile.height());
    for (int row = firstRow; origin.y() + row * tile.height() < height(); ++row) {
        for (int column = firstColumn; origin.x() + column * tile.width() < width(); ++column) {
            const QRect place(origin + QPoint(column * tile.width(), row * tile.height()), tile);
            if (!event->region().intersects(place))
                continue;
            painter.save();
            painter.translate(place.topLeft());
            if (column % 2 != 0) {
                painter.translate(tile.width(), 0);
                painter.scale(-1, 1);
            }
            if (row % 2 != 0) {
                painter.translate(0, tile.height());
                painter.scale(1, -1);
            }
            background.draw(painter, QRect(QPoint(), tile), false, dpr, zoom);
            painter.restore();
        }
    }
}

} // namespace

void MainWindow::buildClientArea()
{
    auto* client = new ClientArea(this, [this] { fitMachine(); });
    client->setMinimumSize(MachineSize(1.0));
    client->resize(MachineSize(1.0));
    client->background.setSource(WindowPicture(QStringLiteral("BACK.BMP")));
    client_ = client;
    setCentralWidget(client_);
}

QPoint MainWindow::machineOrigin() const
{
    return static_cast<const ClientArea*>(client_)->origin;
}

// The machine at the largest zoom that fits the client area, centred.
void MainWindow::fitMachine()
{
    auto* client = static_cast<ClientArea*>(client_);
    const double zoom = ZoomFor(client->size());
    const QSize machine = MachineSize(zoom);
    const QPoint origin((client->width() - machine.width()) / 2, (client->height() - machine.height()) / 2);
    if (zoom == zoom_ && origin == client->origin)
        return;
    zoom_ = zoom;
    client->zoom = zoom;
    client->origin = origin;
    for (const LaidControl& control : laidControls_)
        std::visit([zoom, origin](auto* c) { c->setZoom(zoom, origin); }, control);
    showZoomChecks();
    client->update();
}

// The client area is held at the machine's size while the window takes its
// size around it, then let go, so that the player can resize the window.
void MainWindow::setZoom(double zoom)
{
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    chosenZoom_ = zoom;
    showMenuFont(zoom);
    client_->setFixedSize(MachineSize(zoom));
    fitMachine(); // a hidden window hears of no resize
    layout()->activate();
    resize(sizeHint());
    client_->setMinimumSize(MachineSize(1.0));
    client_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (isVisible())
        keepOnScreen();
}

// The size checked in the view menu: the window's, when it is one of them.
void MainWindow::showZoomChecks()
{
    for (std::size_t i = 0; i < zoomItems.size(); ++i)
        zoomItems[i]->setChecked(Zooms[i] == zoom_);
}

double FittingZoom(double wanted, QSize chrome, QSize available)
{
    double fitting = Zooms[0];
    for (double zoom : Zooms) {
        const QSize window = MachineSize(zoom) + chrome;
        if (zoom <= wanted && window.width() <= available.width() && window.height() <= available.height())
            fitting = zoom;
    }
    return fitting;
}

// The frame and the menu bar around the client area at a zoom: the bar
// grows by its font's growth.
QSize MainWindow::chrome(double zoom) const
{
    const double menuZoom = std::clamp(zoom, 1.0, LargestMenuZoom);
    const int growth = QFontMetrics(MenuFont(menuZoom)).height() - QFontMetrics(MenuFont(1.0)).height();
    return WindowFrame(*this) + QSize(0, menuBarHeight_ + growth);
}

// The largest menu size up to `wanted` that fits the screen, each tried with
// the menu bar it would have.
double MainWindow::fittingZoom(double wanted) const
{
    const QScreen* shown = screen();
    if (!shown)
        return wanted;
    const QSize available = shown->availableGeometry().size();
    for (auto zoom = std::rbegin(Zooms); zoom != std::rend(Zooms); ++zoom) {
        if (*zoom <= wanted && FittingZoom(*zoom, chrome(*zoom), available) == *zoom)
            return *zoom;
    }
    return Zooms[0];
}

void MainWindow::chooseZoom(double wanted)
{
    setZoom(fittingZoom(wanted));
}

// The next menu size up or down from the zoom, which may lie between two of
// them; at either end, or when it does not fit, nothing changes.
void MainWindow::stepZoom(int step)
{
    const double* next = nullptr;
    if (step > 0)
        next = std::find_if(std::begin(Zooms), std::end(Zooms), [this](double zoom) { return zoom > zoom_; });
    else if (auto below = std::find_if(std::rbegin(Zooms), std::rend(Zooms),
                                       [this](double zoom) { return zoom < zoom_; });
             below != std::rend(Zooms))
        next = &*below;
    if (next == nullptr || next == std::end(Zooms) || fittingZoom(*next) != *next)
        return;
    setZoom(*next);
    emit zoomChosen(*next);
}

// A window grown by a zoom is moved back inside its screen's free area.
void MainWindow::keepOnScreen()
{
    layout()->activate();
    const QScreen* shown = screen();
    if (!shown)
        return;
    const QRect area = shown->availableGeometry();
    const QRect frame = frameGeometry();
    const QPoint topLeft(std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width())),
                         std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height())));
    if (topLeft != frame.topLeft())
        move(topLeft);
}

void MainWindow::toggleFullScreen()
{
    setWindowState(windowState() ^ Qt::WindowFullScreen);
}

// The menu bar's font, and its menus', at the zoom, up to LargestMenuZoom.
void MainWindow::showMenuFont(double zoom)
{
    const double menuZoom = std::clamp(zoom, 1.0, LargestMenuZoom);
    if (menuZoom == menuZoom_)
        return;
    menuZoom_ = menuZoom;
    const QFont font = MenuFont(menuZoom);
    menuBar()->setFont(font);
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        menu->setFont(font);
}

// The menu bar's font follows the machine's zoom as the window's size gives
// it with the bar at 1x, not the client area's: the bar's own height then
// never feeds back into its font.
void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    showMenuFont(ZoomFor(size() - QSize(0, menuBarHeight_)));
}

} // namespace ui
