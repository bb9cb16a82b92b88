#pragma once

#include "SimFrames.h"

#include <QByteArray>
#include <QDateTime>

#include <array>
#include <map>
#include <set>
#include <vector>

namespace tq3sim {

// Hits the first `count` answers of one type (or of any type when code is AnyCode).
struct CountedFault
{
    static constexpr int AnyCode = -1;
    int code = AnyCode;
    int count = 0;
};

// Faults drawn at random, one per hit answer. The records of a history stream and its end answer
// are only ever hit by the kinds a receiver can get through (noise, glue): nothing asks for them
// again.
enum class FaultKind
{
    Noise,          // junk in front of the answer, in the same write
    NoiseWithStart, // the same junk beginning with "m", a false answer start
    BadChecksum,    // the check byte spoiled
    Drop,           // the answer never written
    Glue,           // two answers in one write: a record with the next, otherwise a status answer first
    Hangup,         // the answer goes out, then the line hangs up and comes back on a new device
    PauseInside,    // the line holds still part way through the answer, as a converter or TCP does
};
inline constexpr int FaultKindCount = 7;
inline constexpr unsigned AllFaultKinds = (1u << FaultKindCount) - 1;
using FaultCounts = std::array<int, FaultKindCount>;
const char* faultKindName(FaultKind kind);

struct FaultOptions
{
    bool silent = false;                   // logs what arrives, writes nothing at all
    std::vector<CountedFault> drop;        // answers that are never written
    std::vector<CountedFault> badChecksum; // answers written with a wrong check byte
    int noiseBytes = 0;                    // junk written in front of each answer
    bool noiseWithStart = false;           // the junk begins with "m", a false answer start
    int noiseAnswers = 0;                  // only the first so many answers get junk; 0: all
    bool glue = false;                     // each answer shares its write with a status answer
    std::set<int> loseAck;                 // block numbers whose first acknowledgement is lost
    int hangupAfterFrames = 0;             // close the line after this many good frames; 0: never
    int pauseInsideMs = 0;                 // the line pauses this long inside answers; 0: never
    int pauseEvery = 1;                    // ... inside every so many answers
    int randomPauseMs = 300;               // how long a random pause inside an answer lasts
    double randomRate = 0;                 // chance of a random fault per answer, 0 to 1
    quint32 randomSeed = 1;
    unsigned randomKinds = AllFaultKinds; // bit k: FaultKind k may be drawn
};

struct ControllerOptions
{
    // Largest history whose size in bytes still fits the 16-bit total of answer 73.
    static constexpr int MaxHistoryRecords = 8191;

    QByteArray password = "7391";
    char versionChar = '5';
    int historyRecords = 120;
    QDateTime clock = QDateTime(QDate(2024, 6, 3), QTime(8, 0), Qt::UTC); // at power-up
    SimTime bootWindow = std::chrono::seconds(5);
    SimTime modemStep = std::chrono::milliseconds(500);
    int signalTarget = 18;
    quint16 temperatureRaw = 295;
    quint16 supplyRaw = 265;
    quint16 batteryRaw = 220;
    bool supplyMissing = false;
    bool batteryMissing = false;
    // Values the controller holds at power-up instead of its factory ones, by read code.
    std::map<int, QByteArray> settings;
    // Received frames kept for frames(), the newest; 0: all. A long run sets it to stay small.
    int framesKept = 0;
    FaultOptions faults;
};

} // namespace tq3sim
