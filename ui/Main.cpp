#include "ui/Main.h"

#include "VaClasses.h"
#include "VaComm.h"
#include "VaConst.h"
#include "VaUtils.h"
#include "config/CodePage1250.h"
#include "link/DeviceStatus.h"
#include "link/Session.h"
#include "port/NetworkPorts.h"
#include "port/PortOpen.h"
#include "ui/AboutBox.h"
#include "ui/ConfigPanel.h"
#include "ui/FieldRules.h"
#include "ui/FirmwareWindow.h"
#include "ui/Gauge.h"
#include "ui/HistoryChartWindow.h"
#include "ui/HistoryPanel.h"
#include "ui/PasswordWindow.h"
#include "ui/PortBox.h"
#include "ui/QtPrompts.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

using namespace tq3;

namespace {

void SetLabelColour(QLabel* label, const QColor& colour)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

} // namespace

TMain::TMain(const Options& options, QWidget* parent) : QMainWindow(parent)
{
    form_.Setup(this);

    if (options.prompts) {
        prompts_ = options.prompts;
    } else {
        ownPrompts_ = std::make_unique<QtPrompts>(this);
        prompts_ = ownPrompts_.get();
    }

    // The component's stored settings; FormCreate sets the line itself.
    VaComm = new TVaComm(this);
    VaComm->setObjectName(QStringLiteral("VaComm"));
    VaComm->SetBaudrate(br2400);
    SetNoFlowControl(*VaComm);
    VaComm->SetDeviceName(QStringLiteral("COM%d"));
    SessionListener& listener = *this;
    session_ = std::make_unique<ControllerSession>(*VaComm, *prompts_, listener, this);
    // The window's own handler of received characters.
    VaComm->OnRxChar = [this](QObject* sender, qint32 count) {
        Guarded([&] { VaCommRxChar(sender, count); });
    };
    DeviceLink& link = session_->Link();

    config_ = new ConfigPanel(form_, link, *prompts_, ContainerBuffer, this);
    config_->SetLockFunctions([this] { LockControls(); }, [this] { UnlockControls(); });
    fieldRules_ = new FieldRules(form_, *config_, this);
    history_ = new HistoryPanel(form_, link, *prompts_, *config_, this);
    history_->SetLockFunctions([this] { LockControls(); }, [this] { UnlockControls(); });
    // Answers 70 and 75 are acted on whenever they come, also outside a download.
    session_->SetHistory(&history_->Download());

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(options.tickMs);
    connect(Timer, &QTimer::timeout, this, [this] { Guarded([this] { TimerTimer(); }); });

    enumeratePorts_ = options.enumeratePorts ? options.enumeratePorts : EnumerateSerialPorts;
    devRoot_ = options.devRoot;
    extraPort_ = options.port.trimmed();
    FillPortBox();
    if (!extraPort_.isEmpty())
        form_.Combo_Port->setCurrentIndex(form_.Combo_Port->findText(extraPort_));
    else
        form_.Combo_Port->setCurrentIndex(0);
    form_.Combo_Port->OnDropDown = [this] { FillPortBox(); };
    connect(form_.Combo_Port, &QComboBox::currentIndexChanged, this, [this](int index) {
        // The chosen adapter's particulars stay at hand over the narrow box.
        form_.Combo_Port->setToolTip(
            index < 0 ? QString() : form_.Combo_Port->itemData(index, Qt::ToolTipRole).toString());
    });
    BindControls();
    FormCreate();
    Timer->start();
}

TMain::~TMain()
{
    Timer->stop();
    VaSetApplicationExceptionHandler(nullptr);
    // Closing sends nothing to the controller; the port closes with VaComm.
    session_.reset();
    delete VaComm;
    VaComm = nullptr;
}

template <typename F> void TMain::Guarded(F&& f)
{
    try {
        f();
    } catch (...) {
        HandleException(std::current_exception());
    }
}

template <typename Signal, typename Sender>
void TMain::BindExchange(Sender* sender, Signal signal, void (TMain::*handler)())
{
    // The controls live as long as the window, and with it the link that holds the clicks.
    connect(sender, signal, this, [this, sender, handler] {
        session_->Link().WhenIdle(
            sender, [sender] { return sender->isEnabled(); },
            [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
    });
}

template <typename Signal, typename Sender>
void TMain::BindPlain(Sender* sender, Signal signal, void (TMain::*handler)())
{
    connect(sender, signal, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
}

void TMain::BindControls()
{
    auto& f = form_;
    BindExchange(f.Button_polacz, &QPushButton::clicked, &TMain::Button_polaczClick);
    BindExchange(f.Button_rozlacz, &QPushButton::clicked, &TMain::Button_rozlaczClick);
    BindExchange(f.Button_zmiana_hasla, &QPushButton::clicked, &TMain::Button_zmiana_haslaClick);
    BindExchange(f.Icon_get, &QToolButton::clicked, &TMain::SpeedButton3Click);
    BindExchange(f.Icon_put, &QToolButton::clicked, &TMain::Icon_putClick);
    BindExchange(f.ButtonResetlimit, &QPushButton::clicked, &TMain::ButtonResetlimitClick);
    BindExchange(f.ButtonRestart, &QPushButton::clicked, &TMain::ButtonRestartClick);
    BindExchange(f.ButtonCzas, &QPushButton::clicked, &TMain::ButtonCzasClick);
    BindExchange(f.ButtonFirmware, &QPushButton::clicked, &TMain::ButtonFirmwareClick);
    BindExchange(f.ButtonKasuj, &QPushButton::clicked, &TMain::ButtonKasujClick);
    BindExchange(f.ButtonPobierz, &QPushButton::clicked, &TMain::ButtonPobierzClick);
    // STOP only raises a flag that the running download reads.
    BindPlain(f.ButtonSTOP, &QPushButton::clicked, &TMain::ButtonSTOPClick);
    BindPlain(f.ButtonZapisz, &QPushButton::clicked, &TMain::ButtonZapiszClick);
    BindPlain(f.Odczyt1, &QAction::triggered, &TMain::Odczyt1Click);
    BindPlain(f.Zapis1, &QAction::triggered, &TMain::Zapis1Click);
    BindExchange(f.Pobierz1, &QAction::triggered, &TMain::Pobierz1Click);
    BindExchange(f.Zapisz1, &QAction::triggered, &TMain::Zapisz1Click);
    BindPlain(f.Oprogramie1, &QAction::triggered, &TMain::Oprogramie1Click);
    BindPlain(f.OtworzHistorie1, &QAction::triggered, &TMain::OtworzHistorie1Click);
    BindPlain(f.ArkuszHistorii1, &QAction::triggered, &TMain::ArkuszHistorii1Click);
    BindPlain(f.WykresHistorii1, &QAction::triggered, &TMain::WykresHistorii1Click);
}

void TMain::FillPortBox()
{
    TPortBox* box = form_.Combo_Port;
    const QString shown = box->currentText();
    const int shownIndex = box->currentIndex();
    const bool typed = shownIndex < 0 || box->itemText(shownIndex) != shown;
    const QSignalBlocker hold(box);
    box->clear();
    std::vector<PortEntry> entries = ListPorts(enumeratePorts_(), ReadStableNames(devRoot_));
    for (PortEntry& entry : RecentNetworkEntries())
        entries.push_back(std::move(entry));
    for (const PortEntry& entry : entries) {
        box->addItem(entry.name);
        box->setItemData(box->count() - 1, PortToolTip(entry), Qt::ToolTipRole);
    }
    if (!extraPort_.isEmpty() && box->findText(extraPort_) < 0)
        box->addItem(extraPort_);
    int widest = 0;
    for (int i = 0; i < box->count(); ++i)
        widest = qMax(widest, box->fontMetrics().horizontalAdvance(box->itemText(i)));
    // The box is narrow; its list is as wide as its longest name.
    box->view()->setMinimumWidth(widest + 2 * box->style()->pixelMetric(QStyle::PM_ScrollBarExtent));

    const int index = typed ? -1 : box->findText(shown);
    box->setCurrentIndex(index);
    if (index < 0)
        box->setEditText(shown);
    box->setToolTip(index < 0 ? QString() : box->itemData(index, Qt::ToolTipRole).toString());
}

void TMain::FormCreate()
{
    auto& f = form_;
    f.trm->clear();
    VaSetApplicationExceptionHandler([this](std::exception_ptr e) { HandleException(e); });

    VaComm->SetPortNum(1);
    session_->ApplyLineSettings();

    config_->TempMinRaw = 132;
    config_->TempMaxRaw = 138;
    config_->TempKorektaRaw = 0;
    config_->ShowTempMax();
    config_->ShowTempMin();
    config_->ShowTempKorekta();
    // Every field in its base colour, after its start text; the check boxes
    // keep the form's.
    for (const ConfigItem& item : ConfigItems())
        for (QWidget* w : config_->FieldsOf(item))
            if (!qobject_cast<QCheckBox*>(w))
                SetFieldColour(w, QColor::fromRgb(item.baseRgb));
    SetFieldColour(f.Combo_operator, tq3colours::LightYellow);

    for (QLineEdit* e : {f.Temp, f.Udc, f.AC230}) {
        SetFieldColour(e, ButtonFaceColour());
        e->clear();
    }
}

void TMain::Button_polaczClick()
{
    auto& f = form_;
    session_->OpenPort(f.Combo_Port->currentText(), devRoot_); // raises EConvertError when it cannot
    f.Edit_status->setText(tr("POŁĄCZONY"));
    SetFieldColour(f.Edit_status, tq3colours::Lime);
    f.Combo_Port->setEnabled(false);
    f.Button_rozlacz->setEnabled(true);

    switch (session_->LogIn(ToCp1250(f.Edit_haslo->text()))) {
    case LoginResult::Accepted:
        EnterLoggedIn();
        break;
    case LoginResult::Refused:
        prompts_->Beep();
        prompts_->Message(MessageKind::Error, tr("Błędne hasło"));
        LetMessagesRun();
        break;
    case LoginResult::NoAnswer:
        break; // already reported, logged out
    }
}

void TMain::Button_rozlaczClick()
{
    auto& f = form_;
    f.Edit_status->setText(tr("ROZŁĄCZONY"));
    SetFieldColour(f.Edit_status, tq3colours::Red);
    f.Combo_Port->setEnabled(true);
    f.Button_rozlacz->setEnabled(false);
    EnterLoggedOut();
    LockControls();
    if (session_->LogOut()) {
        prompts_->Beep();
        prompts_->Message(MessageKind::Information, tr("Wylogowano z TQ-3"));
    }
}

void TMain::TimerTimer()
{
    session_->Tick();
}

void TMain::VaCommRxChar(QObject*, qint32)
{
    session_->ReceiveChars();
}

void TMain::HandleException(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const EVaOpenError& e) {
        prompts_->Beep();
        prompts_->Message(MessageKind::Plain, tr("Port COM niedostępny"), MessageButtons::Ok,
                          session_->OpenFailureDetail(e));
    } catch (const EConvertError&) {
        prompts_->Beep();
        prompts_->Message(MessageKind::Plain, tr("Port COM niedostępny"));
    } catch (...) {
        // Anything else is dropped without a word, as the program always did.
    }
}

void TMain::LockControls()
{
    auto& f = form_;
    session_->SetUnlocked(false);
    f.StatusBar->hide();
    for (QLineEdit* e : {f.Temp, f.Udc, f.AC230}) {
        e->clear();
        SetFieldColour(e, ButtonFaceColour());
    }
    SetLabelText(f.LabelSMS, {});
    f.BarRSSI->SetProgress(0);
    history_->Download().ClearStop();
    f.Edit_haslo->setEnabled(true);
    f.Button_polacz->setEnabled(true);
    for (QWidget* w : std::initializer_list<QWidget*>{
             f.Button_zmiana_hasla, f.ButtonRestart, f.ButtonResetlimit, f.Icon_get, f.Icon_put, f.ButtonCzas,
             f.ButtonPobierz, f.ButtonKasuj, f.ButtonSTOP})
        w->setEnabled(false);
    f.Pobierz1->setEnabled(false);
    f.Zapisz1->setEnabled(false);
    if (f.Panel_bar->isVisible()) {
        f.Panel_bar->hide();
        f.FitWindow(this);
    } else {
        f.Panel_bar->hide();
    }
}

void TMain::UnlockControls()
{
    auto& f = form_;
    session_->SetUnlocked(true);
    f.StatusBar->show();
    f.StatusBarPanel->clear();
    SetLabelText(f.LabelSMS, {});
    history_->Download().ClearStop();
    f.Button_polacz->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{f.Button_zmiana_hasla, f.ButtonRestart,
                                                      f.ButtonResetlimit, f.Icon_get, f.Icon_put,
                                                      f.ButtonCzas, f.ButtonPobierz, f.ButtonKasuj})
        w->setEnabled(true);
    f.Pobierz1->setEnabled(true);
    f.Zapisz1->setEnabled(true);
    f.ButtonSTOP->setEnabled(false);
    f.TempBar->SetProgress(0);
}

void TMain::EnterLoggedIn()
{
    session_->Link().SetPollTicks(0);
    session_->Link().SetLoggedIn(true);
    form_.Edit_logon->setText(tr("ZALOGOWANY"));
    SetFieldColour(form_.Edit_logon, tq3colours::Lime);
    form_.Edit_haslo->setEnabled(false);
    UnlockControls();
}

void TMain::EnterLoggedOut()
{
    session_->MarkLoggedOut();
    form_.Edit_logon->setText(tr("WYLOGOWANY"));
    SetFieldColour(form_.Edit_logon, tq3colours::Red);
    LockControls();
    SetLabelText(form_.TextWersja, tr("TQ-3 v ..."));
    SetLabelColour(form_.TextWersja, tq3colours::Grey);
    form_.TempBar->SetProgress(0);
}

void TMain::VersionReceived(const QString& version)
{
    SetLabelText(form_.TextWersja, version);
    SetLabelColour(form_.TextWersja, Qt::black);
}

void TMain::SettingReceived(quint8 readCode, const QByteArray& payload)
{
    config_->ApplyItem(readCode, payload);
}

void TMain::LineLost()
{
    // The device went away (a USB adapter pulled out, a network line dropped):
    // the port is closed now and the next POŁĄCZ opens it afresh. The session
    // logs out after this.
    form_.Edit_status->setText(tr("ROZŁĄCZONY"));
    SetFieldColour(form_.Edit_status, tq3colours::Red);
    form_.Combo_Port->setEnabled(true);
    form_.Button_rozlacz->setEnabled(false);
}

void TMain::ShowStatus(const QByteArray& payload)
{
    auto& f = form_;
    const DeviceStatusView s = DecodeStatus(payload);
    if (s.tempColour) {
        switch (*s.tempColour) {
        case TempColour::Blue:
            SetFieldColour(f.Temp, tq3colours::Blue);
            break;
        case TempColour::Red:
            SetFieldColour(f.Temp, tq3colours::Red);
            break;
        case TempColour::Lime:
            SetFieldColour(f.Temp, tq3colours::Lime);
            break;
        case TempColour::Unchanged:
            break;
        }
    }
    if (s.pending)
        SetLabelText(f.LabelZd, *s.pending);
    if (s.modemStage)
        f.StatusBarPanel->setText(*s.modemStage);
    if (s.signalBar)
        f.BarRSSI->SetProgress(*s.signalBar);
    if (s.smsCount)
        SetLabelText(f.LabelSMS, *s.smsCount);
    if (s.voiceCount)
        SetLabelText(f.LabelVoice, *s.voiceCount);
    if (s.temperature)
        f.Temp->setText(*s.temperature);
    if (s.supply) {
        SetFieldColour(f.AC230, *s.supplyGood ? tq3colours::Lime : tq3colours::Red);
        f.AC230->setText(*s.supply);
    }
    if (s.battery) {
        SetFieldColour(f.Udc, *s.batteryGood ? tq3colours::Lime : tq3colours::Red);
        f.Udc->setText(*s.battery);
    }
    f.Icon_get->setEnabled(true);
    f.Icon_put->setEnabled(true);
}

// Filled by the configuration, history, service and firmware parts of the window.

void TMain::SpeedButton3Click()
{
    config_->ReadAllItems();
}

void TMain::Pobierz1Click()
{
    config_->ReadAllItems();
}

void TMain::Icon_putClick()
{
    config_->WriteAllItems();
}

void TMain::Zapisz1Click()
{
    config_->WriteAllItems();
}

void TMain::Odczyt1Click()
{
    config_->LoadConfigFile();
}

void TMain::Zapis1Click()
{
    config_->SaveConfigFile();
}

void TMain::Button_zmiana_haslaClick()
{
    LockControls();
    TFhaslo_nowe window(*this);
    window.exec();
}

void TMain::ButtonResetlimitClick()
{
    history_->ResetCounters();
}

void TMain::ButtonRestartClick()
{
    history_->RestartController();
}

void TMain::ButtonCzasClick()
{
    history_->SetControllerClock();
}

void TMain::ButtonKasujClick()
{
    history_->EraseHistory();
}

void TMain::ButtonPobierzClick()
{
    history_->ButtonPobierzClick();
}

void TMain::ButtonSTOPClick()
{
    history_->ButtonSTOPClick();
}

void TMain::ButtonZapiszClick()
{
    history_->ExportHistory();
}

void TMain::ButtonFirmwareClick()
{
    // Bound so that it starts only once any exchange under way (a status
    // poll's wait) has ended: no wait can resend a frame into the transfer.
    LockControls();
    TFboot window(*this);
    window.exec();
}

void TMain::OtworzHistorie1Click()
{
    history_->OpenSavedHistory();
}

void TMain::ArkuszHistorii1Click()
{
    history_->ExportSpreadsheet();
}

void TMain::WykresHistorii1Click()
{
    if (!chart_) {
        // The limits and the interval as the fields hold them, once the controller or a file gave them.
        auto settings = [this] {
            tq3::ChartSettings s;
            s.intervalMinutes = config_->KnownInterval();
            if (const auto raw = config_->KnownThresholds()) {
                s.alarmMinTenths = (raw->first - 128) * 10;
                s.alarmMaxTenths = (raw->second - 128) * 10;
            }
            return s;
        };
        chart_ = new HistoryChartWindow(history_->Model().Entries(), settings, *prompts_, this);
        connect(history_, &HistoryPanel::ModelChanged, chart_, &HistoryChartWindow::Refresh);
    }
    chart_->Refresh();
    chart_->show();
    chart_->raise();
    chart_->activateWindow();
}

void TMain::Oprogramie1Click()
{
    TFInfo box(this, *prompts_);
    box.exec();
}
