#pragma once
// The main window TMain: connects, logs in, polls and shows the controller's
// live status; its controls are also the store of the configuration.
#include "link/DeviceLink.h"
#include "link/UserPrompts.h"
#include "port/PortList.h"
#include "session/ControllerSession.h"
#include "ui/MainForm.h"

#include <QMainWindow>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

class ConfigPanel;
class HistoryPanel;
class HistoryChartWindow;
class FieldRules;
class QTimer;
class TVaComm;

class TMain : public QMainWindow, private tq3::SessionListener
{
    Q_OBJECT
public:
    struct Options
    {
        tq3::UserPrompts* prompts = nullptr; // null: real dialogs
        int tickMs = 100;                    // one tick of Timer
        QString port;                        // device to choose in the port box
        // The serial devices present; null: the system's enumeration.
        std::function<std::vector<tq3::FoundPort>()> enumeratePorts;
        QString devRoot = QStringLiteral("/dev"); // where the stable names are looked up
    };

    explicit TMain(const Options& options, QWidget* parent = nullptr);
    explicit TMain(QWidget* parent = nullptr) : TMain(Options{}, parent) {}
    ~TMain() override;

    TMainForm& Form() { return form_; }
    tq3::DeviceLink& Link() { return session_->Link(); }
    tq3::ControllerSession& Session() { return *session_; }
    TVaComm& Comm() { return *VaComm; }
    QTimer& TimerObject() { return *Timer; }
    tq3::UserPrompts& Prompts() { return *prompts_; }

    // Handlers bound to the window's controls.
    void FormCreate();
    void Button_polaczClick();
    void Button_rozlaczClick();
    void Button_zmiana_haslaClick();
    void SpeedButton3Click();
    void Icon_putClick();
    void ButtonResetlimitClick();
    void ButtonRestartClick();
    void ButtonCzasClick();
    void ButtonFirmwareClick();
    void ButtonKasujClick();
    void ButtonPobierzClick();
    void ButtonSTOPClick();
    void ButtonZapiszClick();
    void Odczyt1Click();
    void Zapis1Click();
    void Pobierz1Click();
    void Zapisz1Click();
    void Oprogramie1Click();
    void OtworzHistorie1Click();
    void ArkuszHistorii1Click();
    void WykresHistorii1Click();
    void TimerTimer();
    void VaCommRxChar(QObject* Sender, qint32 Count);
    void HandleException(std::exception_ptr error);

    // Lock and login states.
    void LockControls();
    void UnlockControls();
    void EnterLoggedIn();
    void EnterLoggedOut();

    // Every answer, routed by its type through the session.
    void DispatchAnswer(quint8 type, const QByteArray& payload) { session_->DispatchAnswer(type, payload); }

    // Configuration and firmware files are read into this buffer and
    // configuration files built in it.
    QByteArray ContainerBuffer;

    ConfigPanel& Config() { return *config_; }
    HistoryPanel& History() { return *history_; }

private:
    // What the session reports.
    void VersionReceived(const QString& version) override;
    void StatusReceived(const QByteArray& payload) override { ShowStatus(payload); }
    void SettingReceived(quint8 readCode, const QByteArray& payload) override;
    void LoggedOut() override { EnterLoggedOut(); }
    void LineLost() override;

    void ShowStatus(const QByteArray& payload);
    // Reads the ports present afresh; what the box shows stays chosen.
    void FillPortBox();
    void BindControls();
    // Runs a handler; whatever escapes it goes to HandleException.
    template <typename F> void Guarded(F&& f);
    // Binds a control whose handler talks to the controller: it starts only
    // once the running exchange has ended.
    template <typename Signal, typename Sender>
    void BindExchange(Sender* sender, Signal signal, void (TMain::*handler)());
    template <typename Signal, typename Sender>
    void BindPlain(Sender* sender, Signal signal, void (TMain::*handler)());

    TMainForm form_;
    std::unique_ptr<tq3::UserPrompts> ownPrompts_;
    tq3::UserPrompts* prompts_ = nullptr;
    TVaComm* VaComm = nullptr;
    QTimer* Timer = nullptr;
    std::unique_ptr<tq3::ControllerSession> session_;
    ConfigPanel* config_ = nullptr;
    FieldRules* fieldRules_ = nullptr;
    HistoryPanel* history_ = nullptr;
    HistoryChartWindow* chart_ = nullptr; // made at its first opening
    std::function<std::vector<tq3::FoundPort>()> enumeratePorts_;
    QString devRoot_;
    QString extraPort_; // a device given at start, kept in the list
};
