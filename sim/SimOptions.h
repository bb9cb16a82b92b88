#pragma once

#include "SimFrames.h"

#include <QByteArray>
#include <QDateTime>

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
    FaultOptions faults;
};

} // namespace tq3sim
