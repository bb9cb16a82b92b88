#pragma once
// A pseudo-terminal pair that stands in for the serial line in the tests: the component
// opens the slave path, the test plays the controller on the master.

#include <QByteArray>
#include <QString>
#include <termios.h>

class PtyPair
{
public:
    struct Options
    {
        // An extra slave descriptor, opened before the component and never read: it keeps
        // the slave alive while the component is closed, so the master never sees EIO.
        bool observer = true;
        // Without unlockpt the slave cannot be opened yet.
        bool unlock = true;
        // A fresh slave is cooked and echoes; raw, nothing comes back while the component
        // is closed.
        bool raw = true;
    };

    PtyPair();
    explicit PtyPair(Options options);
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool IsValid() const { return master_ >= 0; }
    QString SlavePath() const { return slavePath_; }
    int Master() const { return master_; }

    // While these wait for the line they let the main thread's events run, as the program
    // does in its waits: the component's threads hand their work to the main thread. Other
    // threads pass pump = false.

    // Writes every byte to the slave's input, waiting for room up to timeoutMs.
    bool WriteMaster(const QByteArray& bytes, int timeoutMs = 5000, bool pump = true);
    // Reads what the slave has sent until exactly count bytes or the time-out; the result
    // may be shorter on time-out and never longer.
    QByteArray ReadMaster(int count, int timeoutMs = 5000, bool pump = true);
    // Collects whatever the slave sends for windowMs.
    QByteArray DrainMaster(int windowMs);

    // The slave's termios, read or set through the master.
    termios SlaveTermios() const;
    bool SetSlaveTermios(const termios& t);
    // The slave's output speed in baud, custom speeds included.
    unsigned SlaveSpeed() const;

    // Closes the master: the slave side sees a hang-up.
    void CloseMaster();

private:
    int master_ = -1;
    int observer_ = -1;
    QString slavePath_;
};

// The output speed of the terminal behind fd, from the kernel's termios2 record.
unsigned TerminalSpeed(int fd);
