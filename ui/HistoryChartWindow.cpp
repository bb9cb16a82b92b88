#include "ui/HistoryChartWindow.h"

#include "link/UserPrompts.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWheelEvent>

using namespace tq3;

namespace {

constexpr double WheelStep = 0.8; // one notch in: four fifths of the span
constexpr double KeyPan = 0.1;    // an arrow key moves a tenth of the span

} // namespace

HistoryChartCanvas::HistoryChartCanvas(HistoryChart& chart, QWidget* parent) : QWidget(parent), chart_(chart)
{
    setObjectName(QStringLiteral("HistoryChartCanvas"));
    setMouseTracking(true);
    setMinimumSize(480, 300);
    setFocusPolicy(Qt::NoFocus);
}

void HistoryChartCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    chart_.Paint(painter, rect());
}

void HistoryChartCanvas::wheelEvent(QWheelEvent* event)
{
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0)
        return;
    double factor = 1;
    for (int i = 0; i < qAbs(notches); ++i)
        factor *= notches > 0 ? WheelStep : 1 / WheelStep;
    chart_.ZoomAround(chart_.TimeAtX(event->position().x(), rect()), factor);
    update();
    emit ViewChanged();
}

void HistoryChartCanvas::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragX_ = event->position().x();
}

void HistoryChartCanvas::mouseMoveEvent(QMouseEvent* event)
{
    if (dragX_ && (event->buttons() & Qt::LeftButton)) {
        const double width = chart_.PlotArea(rect()).width();
        if (width > 0) {
            // The data follows the pointer: dragging right shows earlier times.
            chart_.Pan((*dragX_ - event->position().x()) / width);
            dragX_ = event->position().x();
            update();
            emit ViewChanged();
        }
    }
    emit PointerAt(event->position());
}

void HistoryChartCanvas::mouseReleaseEvent(QMouseEvent*)
{
    dragX_.reset();
}

HistoryChartWindow::HistoryChartWindow(const std::vector<HistoryEntry>& entries,
                                       std::function<ChartSettings()> settings, UserPrompts& prompts,
                                       QWidget* parent)
    : QWidget(parent, Qt::Window), chart_(entries), settings_(std::move(settings)), prompts_(prompts)
{
    setObjectName(QStringLiteral("HistoryChartWindow"));
    setWindowTitle(tr("Wykres historii temperatury"));
    canvas_ = new HistoryChartCanvas(chart_, this);
    readOut_ = new QLabel(this);
    readOut_->setObjectName(QStringLiteral("ChartReadOut"));
    stats_ = new QLabel(this);
    stats_->setObjectName(QStringLiteral("ChartStats"));
    all_ = new QPushButton(tr("Całość"), this);
    all_->setObjectName(QStringLiteral("ChartShowAll"));
    save_ = new QPushButton(tr("Zapisz obraz…"), this);
    save_->setObjectName(QStringLiteral("ChartSave"));
    print_ = new QPushButton(tr("Drukuj…"), this);
    print_->setObjectName(QStringLiteral("ChartPrint"));
    for (QPushButton* b : {all_, save_, print_})
        b->setFocusPolicy(Qt::NoFocus); // the keys belong to the chart

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(stats_, 1);
    buttons->addWidget(all_);
    buttons->addWidget(save_);
    buttons->addWidget(print_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(canvas_, 1);
    layout->addWidget(readOut_);
    layout->addLayout(buttons);
    resize(1000, 620);
    setFocusPolicy(Qt::StrongFocus);

    connect(canvas_, &HistoryChartCanvas::ViewChanged, this, &HistoryChartWindow::ShowStats);
    connect(canvas_, &HistoryChartCanvas::PointerAt, this, [this](QPointF p) {
        const std::optional<ChartReadOut> r = chart_.ReadOutAt(p, canvas_->rect());
        QStringList parts;
        if (r)
            for (const QString& part : {r->timeText, r->temperatureText, r->eventText})
                if (!part.isEmpty())
                    parts << part;
        readOut_->setText(parts.join(QStringLiteral("   ")));
    });
    connect(all_, &QPushButton::clicked, this, [this] {
        chart_.ShowAll();
        canvas_->update();
        ShowStats();
    });
    connect(save_, &QPushButton::clicked, this, &HistoryChartWindow::SaveImage);
    connect(print_, &QPushButton::clicked, this, &HistoryChartWindow::Print);
    Refresh();
}

void HistoryChartWindow::Refresh()
{
    chart_.SetSettings(settings_());
    canvas_->update();
    ShowStats();
}

void HistoryChartWindow::ShowStats()
{
    stats_->setText(HistoryChart::StatsText(chart_.VisibleStats()));
}

void HistoryChartWindow::keyPressEvent(QKeyEvent* event)
{
    const HistoryTime middle = chart_.From() + (chart_.To() - chart_.From()) / 2;
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        chart_.ZoomAround(middle, WheelStep);
        break;
    case Qt::Key_Minus:
        chart_.ZoomAround(middle, 1 / WheelStep);
        break;
    case Qt::Key_Left:
        chart_.Pan(-KeyPan);
        break;
    case Qt::Key_Right:
        chart_.Pan(KeyPan);
        break;
    case Qt::Key_Home:
        chart_.ShowAll();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    canvas_->update();
    ShowStats();
}

void HistoryChartWindow::SaveImage()
{
    FileDialogRequest dialog;
    dialog.title = tr("Zapisz obraz wykresu");
    dialog.filter = tr("Obraz PNG|*.png|Rysunek SVG|*.svg|Dokument PDF|*.pdf");
    dialog.defaultExt = QStringLiteral("png");
    dialog.fileName = tr("Wykres historii");
    const QString name = prompts_.SaveFileName(dialog);
    if (name.isEmpty())
        return;
    QString error;
    if (chart_.SaveImage(name, DefaultPlotSize, &error))
        prompts_.Message(MessageKind::Information, tr("Zapisano obraz wykresu"));
    else
        prompts_.Message(MessageKind::Error, error.isEmpty() ? tr("Błąd zapisu") : error);
}

void HistoryChartWindow::Print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QPainter painter(&printer);
    chart_.Paint(painter,
                 QRect(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size()));
}
