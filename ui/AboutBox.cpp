#include "ui/AboutBox.h"

#include "link/UserPrompts.h"
#include "ui/JpegImage.h"
#include "ui/MainForm.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace {

const char* const WebAddressText = "www.example.com";
const char* const WebAddress = "https://www.example.com/";
const char* const LogoResource = ":/logo.jpg";

// The client area's design size; the box cannot be resized.
constexpr int ClientWidth = 272;
constexpr int ClientHeight = 112;
// Kept clear between a label that had to grow and the box's right edge.
constexpr int RightMargin = 2;
// The most a text is tightened, per character, when even moving does not fit it.
constexpr qreal MaxSqueeze = 0.5;

QPixmap Logo()
{
    QFile file(QString::fromLatin1(LogoResource));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QPixmap::fromImage(DecodeJpeg(file.readAll()));
}

QLabel* Label(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(x, y, w, h);
    return label;
}

// Grows the label to its text; where that would run past the box's edge it
// moves left, as far as leftLimit, and then tightens the letters a little.
void FitInside(QLabel* label, int leftLimit)
{
    const auto overflow = [label] { return label->geometry().right() + 1 - (ClientWidth - RightMargin); };
    FitLabel(label);
    if (overflow() > 0)
        label->move(qMax(leftLimit, label->x() - overflow()), label->y());
    if (overflow() > 0 && !label->text().isEmpty()) {
        QFont tight = label->font();
        const qreal squeeze = qreal(overflow()) / qreal(label->text().size());
        tight.setLetterSpacing(QFont::AbsoluteSpacing, -qMin(squeeze, MaxSqueeze));
        label->setFont(tight);
        FitLabel(label);
    }
}

} // namespace

TFInfo::TFInfo(QWidget* parent, tq3::UserPrompts& prompts)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      prompts_(prompts)
{
    setObjectName(QStringLiteral("FInfo"));
    setWindowTitle(tr("O programie"));
    setFont(parent ? parent->font() : WindowFont());
    QPalette face = palette();
    face.setColor(QPalette::Window, ButtonFaceColour());
    setPalette(face);
    setFixedSize(ClientWidth, ClientHeight);

    // Created in their tab order (OK first, then the panel): Qt leaves a
    // widget that takes no focus, like the panel, out of setTabOrder.
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(168, 72, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &TFInfo::Button1Click);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(8, 8, 129, 89);
    // Covers the panel's bevel on the left and top, as designed.
    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 130, 90);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setScaledContents(false);
    Image1->setPixmap(Logo());

    // A label that has to move left stops in line with Label2, clear of the logo.
    const int textLeft = Panel1->geometry().right() + 1 + 7;
    Label2 = Label(this, "Label2", 144, 8, 109, 13, tr("Konfigurator TQ-3 v2.0"));
    FitInside(Label2, textLeft);

    Label1 = Label(this, "Label1", 160, 48, 90, 16, QString::fromLatin1(WebAddressText));
    QFont link = font();
    link.setPixelSize(13);
    link.setUnderline(true);
    Label1->setFont(link);
    QPalette blue = Label1->palette();
    blue.setColor(QPalette::WindowText, tq3colours::Blue);
    Label1->setPalette(blue);
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->installEventFilter(this);
    FitInside(Label1, textLeft);
}

void TFInfo::Label1Click()
{
    prompts_.OpenUrl(QString::fromLatin1(WebAddress));
}

void TFInfo::Button1Click()
{
    accept();
}

bool TFInfo::eventFilter(QObject* watched, QEvent* event)
{
    // A click is a left release over the label that was pressed; the label
    // holds the mouse from the press, so the release tells where it ended.
    if (watched == Label1 && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && Label1->rect().contains(mouse->position().toPoint()))
            Label1Click();
    }
    return QDialog::eventFilter(watched, event);
}
