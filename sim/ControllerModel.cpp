#include "ControllerModel.h"

#include "CommandCheck.h"

#include <algorithm>

namespace tq3sim {

namespace {

constexpr int SmsCentreIndex = 1;
// The controller keeps the SMS-centre number in a zero-filled 13-byte field.
constexpr qsizetype SmsCentreField = 13;
constexpr int ThresholdIndex = 13;
constexpr int CallOnAlarmIndex = 18;
constexpr std::array<int, 4> PhoneIndexes{2, 3, 4, 5};

constexpr int StageLinkUp = 20;
constexpr int StageSignalKnown = 17;
constexpr int SignalUnknown = 99;

constexpr int StateLow = 1;
constexpr int StateHigh = 2;
constexpr int StateNormal = 3;

QByteArray le16(int value)
{
    QByteArray bytes(2, '\0');
    bytes[0] = static_cast<char>(value & 0xFF);
    bytes[1] = static_cast<char>((value >> 8) & 0xFF);
    return bytes;
}

QByteArray startupValue(int index)
{
    switch (index) {
    case 0:
        return "7391";
    case SmsCentreIndex:
        return QByteArray("+48501200777").leftJustified(SmsCentreField, '\0');
    case 12: // SMS limit 0, filter off
    case 14: // correction +0,0
    case CallOnAlarmIndex:
    case 19: // voice limit
        return QByteArray(1, '\0');
    case ThresholdIndex:
        return QByteArray("\x84\x8A", 2); // +4 and +10 degrees
    case 15:
        return QByteArray(1, char(60)); // log every 60 minutes
    default:
        return {};
    }
}

int cap8(int value)
{
    return std::min(value, 255);
}

constexpr int MaxNoise = 8;

// True when the bytes begin with a whole answer frame whose check byte is right.
bool checksOut(const QByteArray& bytes)
{
    if (bytes.size() < 4)
        return false;
    const qsizetype end = 3 + static_cast<quint8>(bytes[2]);
    return end < bytes.size() &&
           frameChecksum(QByteArrayView(bytes).first(end)) == static_cast<quint8>(bytes[end]);
}

// Weights of the random kinds, in FaultKind order: a hang-up now and then, the others alike.
constexpr std::array<int, FaultKindCount> AnswerWeights{4, 4, 4, 4, 4, 1, 4};
constexpr std::array<int, FaultKindCount> RecordWeights{1, 1, 0, 0, 1, 0, 1};

} // namespace

const char* faultKindName(FaultKind kind)
{
    switch (kind) {
    case FaultKind::Noise:
        return "noise";
    case FaultKind::NoiseWithStart:
        return "noise with m";
    case FaultKind::BadChecksum:
        return "bad checksum";
    case FaultKind::Drop:
        return "dropped";
    case FaultKind::Glue:
        return "glued";
    case FaultKind::Hangup:
        return "hang-up";
    case FaultKind::PauseInside:
        return "paused inside";
    }
    return "?";
}

QString ProtocolError::describe() const
{
    return QStringLiteral("code %1, payload %2: %3")
        .arg(frame.code)
        .arg(frame.payload.isEmpty() ? QStringLiteral("-") : QString::fromLatin1(frame.payload.toHex(' ')),
             problem);
}

ControllerModel::ControllerModel(ControllerOptions options)
    : options_(std::move(options)), clockBase_(options_.clock), password_(options_.password),
      drop_(options_.faults.drop), badChecksum_(options_.faults.badChecksum),
      random_(options_.faults.randomSeed)
{
    for (int i = 0; i < ItemCount; ++i)
        items_[static_cast<size_t>(i)] = startupValue(i);
    for (const auto& [code, value] : options_.settings)
        if (code >= FirstReadCode && code < FirstReadCode + 2 * ItemCount && code % 2 == 0)
            items_[static_cast<size_t>((code - FirstReadCode) / 2)] = value;
    const int records = std::clamp(options_.historyRecords, 0, ControllerOptions::MaxHistoryRecords);
    history_ = makeHistory(records, clockBase_);
    temperatureState_ = temperatureState();
}

void ControllerModel::advanceTo(SimTime now)
{
    if (now < now_)
        return;
    now_ = now;
    while (std::optional<QByteArray> stale = parser_.expireStale(now_)) {
        ReceivedFrame partial;
        partial.time = now_;
        partial.code = stale->size() > 1 ? quint8(stale->at(1)) : 0;
        partial.payload = stale->mid(3);
        protocolError(partial, QStringLiteral("incomplete frame"));
        processFrames();
    }
    if (mode_ == Mode::Bootloader && !blockSeen_ && now_ - bootEnteredAt_ >= options_.bootWindow)
        startApplication();
    if (mode_ == Mode::Application)
        updateApplication();
}

void ControllerModel::receive(QByteArrayView bytes)
{
    if (hangup_)
        return;
    parser_.append(bytes, now_);
    processFrames();
}

void ControllerModel::receiveAt(SimTime at, QByteArrayView bytes)
{
    if (at > now_ && !bytes.isEmpty() && !hangup_) {
        now_ = at;
        parser_.append(bytes, now_);
        processFrames();
    } else {
        receive(bytes);
    }
    advanceTo(at);
}

void ControllerModel::lineRestored()
{
    hangup_ = false;
    hangupBrief_ = false;
    parser_ = CommandParser{};
    // The records still to come went into the dead line.
    streaming_ = false;
    glueStream_ = false;
}

void ControllerModel::keepFrame(const ReceivedFrame& frame)
{
    ++frameCount_;
    frames_.push_back(frame);
    const auto kept = static_cast<size_t>(options_.framesKept);
    if (kept > 0 && frames_.size() >= 2 * kept)
        frames_.erase(frames_.begin(), frames_.end() - static_cast<std::ptrdiff_t>(kept));
}

void ControllerModel::protocolError(const ReceivedFrame& frame, QString problem)
{
    ++protocolErrors_;
    lastProtocolError_ = ProtocolError{frame, std::move(problem)};
    errors_.push_back(QStringLiteral("protocol error: ") + lastProtocolError_->describe());
}

void ControllerModel::processFrames()
{
    while (!hangup_) {
        std::optional<ReceivedFrame> frame = parser_.next();
        if (!frame)
            return;
        keepFrame(*frame);
        // The controller ignores a malformed command, as if it had never come.
        if (!frame->checksumOk) {
            protocolError(*frame, QStringLiteral("bad checksum"));
            continue;
        }
        if (QString problem = commandProblem(frame->code, frame->payload, password_); !problem.isEmpty()) {
            protocolError(*frame, std::move(problem));
            continue;
        }
        if (mode_ == Mode::Application)
            handleApplication(*frame);
        else
            handleBootloader(*frame);
        ++goodFrames_;
        const int limit = options_.faults.hangupAfterFrames;
        if (limit > 0 && goodFrames_ >= limit)
            hangup_ = true;
    }
}

std::vector<LineWrite> ControllerModel::takeLineWrites()
{
    std::vector<LineWrite> out;
    out.swap(writes_);
    return out;
}

std::vector<QByteArray> ControllerModel::takeWrites()
{
    std::vector<QByteArray> out;
    for (LineWrite& write : takeLineWrites())
        out.push_back(std::move(write.bytes));
    return out;
}

std::optional<SimTime> ControllerModel::nextDeadline() const
{
    std::optional<SimTime> deadline = parser_.deadline();
    if (mode_ == Mode::Bootloader && !blockSeen_) {
        const SimTime boot = bootEnteredAt_ + options_.bootWindow;
        deadline = deadline ? std::min(*deadline, boot) : boot;
    }
    return deadline;
}

void ControllerModel::handleApplication(const ReceivedFrame& frame)
{
    const quint8 code = frame.code;
    const QByteArray& payload = frame.payload;
    if (code >= FirstReadCode && code <= LastWriteCode) {
        const auto index = static_cast<size_t>((code - FirstReadCode) / 2);
        if (code % 2 == 0) {
            answer(code, items_[index]);
        } else {
            QByteArray value = payload.left(MaxAnswerPayload);
            if (index == SmsCentreIndex && value.size() < SmsCentreField)
                value = value.leftJustified(SmsCentreField, '\0');
            items_[index] = value;
            answer(code, "T");
        }
        return;
    }
    switch (code) {
    case 1:
        loggedIn_ = payload == password_;
        answer(1, QByteArray(1, loggedIn_ ? 'T' : 'N') + options_.versionChar);
        break;
    case 2:
        loggedIn_ = false;
        answer(2, "W");
        break;
    case 3:
        password_ = payload;
        answer(3, "T");
        break;
    case 73:
        streaming_ = true;
        streamNext_ = 0;
        streamEnd_ = history_.size();
        answer(73, le16(static_cast<int>(history_.size() * 8)));
        break;
    case 74: {
        auto b = [&](int i) { return static_cast<int>(static_cast<quint8>(payload[i])); };
        clockBase_ = QDateTime(QDate(2000 + b(0), b(1), b(2)), QTime(b(3), b(4), b(5)), Qt::UTC);
        clockSetAt_ = now_;
        break;
    }
    case 75:
        // A stop that crosses the end answer finds no stream and stays unanswered.
        if (streaming_) {
            streaming_ = false;
            answer(75, "x");
        }
        break;
    case 76:
        history_.clear();
        streaming_ = false;
        answer(76, "x");
        break;
    case 80:
        answer(80, status());
        break;
    case 81:
        sms_ = 0;
        calls_ = 0;
        break;
    case 100:
        enterBootloader();
        break;
    default:
        break;
    }
}

void ControllerModel::handleBootloader(const ReceivedFrame& frame)
{
    if (frame.code == 101)
        handleBlock(frame.payload);
    else if (frame.code == 102)
        startApplication();
}

void ControllerModel::handleBlock(const QByteArray& payload)
{
    blockSeen_ = true;
    const auto number = static_cast<quint8>(payload[0]);
    const auto ack = [this] {
        if (!options_.faults.silent)
            writes_.push_back({QByteArray(1, BlockAck)});
    };
    if (lastBlock_ && number == *lastBlock_) {
        ack(); // a resend after a lost acknowledgement
        return;
    }
    if (number != expectedBlock_) {
        errors_.push_back(
            QStringLiteral("block %1 out of order, expected %2").arg(number).arg(expectedBlock_));
        return;
    }
    image_.append(payload.mid(1));
    lastBlock_ = number;
    expectedBlock_ = static_cast<quint8>(number + 1);
    if (options_.faults.loseAck.contains(number) && lostAcks_.insert(number).second)
        return;
    ack();
}

void ControllerModel::enterBootloader()
{
    mode_ = Mode::Bootloader;
    bootEnteredAt_ = now_;
    blockSeen_ = false;
    expectedBlock_ = 0;
    lastBlock_.reset();
    lostAcks_.clear();
    image_.clear();
    streaming_ = false;
    loggedIn_ = false;
}

void ControllerModel::startApplication()
{
    mode_ = Mode::Application;
    appStartedAt_ = now_;
    loggedIn_ = false;
    linkUpLogged_ = false;
    logStartEvents_ = true;
    ++applicationStarts_;
    temperatureState_ = temperatureState();
    addEvent(EventKind::DeviceStart);
}

void ControllerModel::updateApplication()
{
    if (logStartEvents_ && !linkUpLogged_ && modemStage() >= StageLinkUp) {
        linkUpLogged_ = true;
        addEvent(EventKind::GsmLinkUp);
    }
    const int state = temperatureState();
    if (state != temperatureState_) {
        noteTemperatureChange(temperatureState_, state);
        temperatureState_ = state;
    }
}

void ControllerModel::noteTemperatureChange(int from, int to)
{
    int numbers = 0;
    for (int index : PhoneIndexes)
        numbers += items_[static_cast<size_t>(index)].isEmpty() ? 0 : 1;
    const bool alarm = to == StateLow || to == StateHigh;
    if (alarm)
        addEvent(to == StateLow ? EventKind::LowTemperatureAlarm : EventKind::HighTemperatureAlarm);
    else if (from == StateLow || from == StateHigh)
        addEvent(EventKind::TemperatureNormal);
    else
        return;
    sms_ = cap8(sms_ + numbers);
    const QByteArray& call = items_[CallOnAlarmIndex];
    if (alarm && numbers > 0 && !call.isEmpty() && call[0] != 0)
        calls_ = cap8(calls_ + 1);
}

void ControllerModel::addEvent(EventKind kind)
{
    if (!logStartEvents_ && (kind == EventKind::DeviceStart || kind == EventKind::GsmLinkUp))
        return;
    // A full log drops its oldest record, as a ring buffer would.
    if (history_.size() >= static_cast<size_t>(ControllerOptions::MaxHistoryRecords))
        history_.erase(history_.begin());
    history_.push_back(HistoryRecord{clock(), static_cast<quint8>(kind), temperatureRaw()});
}

LineWrite ControllerModel::nextStreamLineWrite()
{
    LineWrite out = nextStreamElement();
    while (glueStream_) {
        glueStream_ = false;
        LineWrite next = nextStreamElement();
        // One pause a write: the first one stays.
        if (out.pauseAt == 0 && next.pauseAt > 0) {
            out.pauseAt = out.bytes.size() + next.pauseAt;
            out.pause = next.pause;
        }
        out.bytes += next.bytes;
    }
    return out;
}

LineWrite ControllerModel::nextStreamElement()
{
    while (streaming_) {
        if (streamNext_ >= streamEnd_ || streamNext_ >= history_.size()) {
            streaming_ = false;
            if (std::optional<LineWrite> end = shapeAnswer(70, {}, true))
                return *end;
            return {};
        }
        const QByteArray record = history_[streamNext_++].encode();
        if (std::optional<LineWrite> out = shapeAnswer(71, record, true))
            return *out;
    }
    return {};
}

void ControllerModel::answer(quint8 type, QByteArrayView payload)
{
    if (std::optional<LineWrite> out = shapeAnswer(type, payload))
        writes_.push_back(std::move(*out));
}

bool ControllerModel::takeFault(std::vector<CountedFault>& faults, quint8 type)
{
    for (CountedFault& fault : faults) {
        if (fault.count > 0 && (fault.code == CountedFault::AnyCode || fault.code == type)) {
            --fault.count;
            return true;
        }
    }
    return false;
}

void ControllerModel::pauseInside(LineWrite& write, qsizetype frameAt, qsizetype frameSize, SimTime pause)
{
    write.pauseAt = frameAt + 1 + pausesMade_++ % (frameSize - 1);
    write.pause = pause;
}

std::optional<LineWrite> ControllerModel::shapeAnswer(quint8 type, QByteArrayView payload, bool streamed)
{
    const FaultOptions& faults = options_.faults;
    if (faults.silent || takeFault(drop_, type))
        return std::nullopt;
    LineWrite write{buildAnswer(type, payload)};
    QByteArray& out = write.bytes;
    const qsizetype frameSize = out.size();
    qsizetype frameAt = 0; // where the answer itself stands in the write
    if (takeFault(badChecksum_, type))
        out.back() = static_cast<char>(out.back() ^ 0x5A);
    if (faults.glue)
        out.append(buildAnswer(80, status()));
    if (faults.noiseBytes > 0 && (faults.noiseAnswers <= 0 || noisyAnswers_ < faults.noiseAnswers)) {
        ++noisyAnswers_;
        const QByteArray junk = noise(faults.noiseBytes, faults.noiseWithStart);
        out.prepend(junk);
        frameAt += junk.size();
    }
    if (faults.pauseInsideMs > 0 && ++answersShaped_ % std::max(1, faults.pauseEvery) == 0)
        pauseInside(write, frameAt, frameSize, std::chrono::milliseconds(faults.pauseInsideMs));

    const std::optional<FaultKind> fault = drawFault(streamed);
    if (!fault)
        return write;
    ++injected_[static_cast<size_t>(*fault)];
    switch (*fault) {
    case FaultKind::Noise:
    case FaultKind::NoiseWithStart: {
        // A false start that happened to check out would be a forged answer, another fault.
        const bool withStart = *fault == FaultKind::NoiseWithStart;
        QByteArray junk;
        do
            junk = noise(std::uniform_int_distribution<int>(1, MaxNoise)(random_), withStart);
        while (withStart && checksOut(junk + out));
        out.prepend(junk);
        frameAt += junk.size();
        if (write.pauseAt > 0)
            write.pauseAt += junk.size();
        break;
    }
    case FaultKind::BadChecksum:
        out.back() = static_cast<char>(out.back() ^ 0x5A);
        break;
    case FaultKind::Drop:
        return std::nullopt;
    case FaultKind::Glue:
        // A record goes with the next element of the stream; the end answer has none behind it.
        if (streamed && type != 70) {
            glueStream_ = true;
        } else {
            const QByteArray first = buildAnswer(80, status());
            out.prepend(first);
            frameAt += first.size();
            if (write.pauseAt > 0)
                write.pauseAt += first.size();
        }
        break;
    case FaultKind::Hangup:
        hangup_ = true;
        hangupBrief_ = true;
        break;
    case FaultKind::PauseInside:
        pauseInside(write, frameAt, frameSize, std::chrono::milliseconds(faults.randomPauseMs));
        break;
    }
    return write;
}

std::optional<FaultKind> ControllerModel::drawFault(bool streamed)
{
    const FaultOptions& faults = options_.faults;
    std::array<int, FaultKindCount> weights = streamed ? RecordWeights : AnswerWeights;
    for (int k = 0; k < FaultKindCount; ++k)
        if (!(faults.randomKinds & (1u << k)))
            weights[static_cast<size_t>(k)] = 0;
    if (faults.randomRate <= 0 || std::all_of(weights.begin(), weights.end(), [](int w) { return w == 0; }))
        return std::nullopt;
    if (std::uniform_real_distribution<double>(0, 1)(random_) >= faults.randomRate)
        return std::nullopt;
    std::discrete_distribution<int> kind(weights.begin(), weights.end());
    return static_cast<FaultKind>(kind(random_));
}

QByteArray ControllerModel::noise(int bytes, bool withStart)
{
    QByteArray junk;
    junk.reserve(bytes);
    while (junk.size() < bytes) {
        noiseState_ ^= noiseState_ << 13;
        noiseState_ ^= noiseState_ >> 17;
        noiseState_ ^= noiseState_ << 5;
        const auto c = static_cast<char>(noiseState_ & 0xFF);
        if (c != AnswerStart)
            junk.append(c);
    }
    if (withStart)
        junk[0] = AnswerStart;
    return junk;
}

QByteArray ControllerModel::setting(int readCode) const
{
    if (readCode < FirstReadCode || readCode > LastWriteCode - 1 || readCode % 2 != 0)
        return {};
    return items_[static_cast<size_t>((readCode - FirstReadCode) / 2)];
}

int ControllerModel::modemStage() const
{
    if (options_.modemStep <= SimTime::zero())
        return StageLinkUp;
    const auto steps = (now_ - appStartedAt_) / options_.modemStep;
    return static_cast<int>(std::min<decltype(steps)>(steps, StageLinkUp));
}

int ControllerModel::signal() const
{
    const int stage = modemStage();
    if (stage < StageSignalKnown)
        return SignalUnknown;
    const auto steps =
        options_.modemStep <= SimTime::zero() ? StageLinkUp : (now_ - appStartedAt_) / options_.modemStep;
    const auto rising = 8 + 4 * (std::min<decltype(steps)>(steps, 100) - StageSignalKnown);
    return std::min(options_.signalTarget, static_cast<int>(rising));
}

quint16 ControllerModel::temperatureRaw() const
{
    // A slow wobble of about half a degree either way.
    static constexpr std::array<int, 10> drift{0, 1, 2, 2, 1, 0, -1, -2, -2, -1};
    const auto slot = static_cast<size_t>((now_ / std::chrono::seconds(3)) % 10);
    return static_cast<quint16>(std::clamp(options_.temperatureRaw + drift[slot], 0, 0xFFFF));
}

int ControllerModel::temperatureState() const
{
    const QByteArray& thresholds = items_[ThresholdIndex];
    if (thresholds.size() < 2)
        return StateNormal;
    const int tenths = static_cast<int>(temperatureRaw()) * 2500 / 1024 - 500;
    const int minimum = (static_cast<quint8>(thresholds[0]) - 128) * 10;
    const int maximum = (static_cast<quint8>(thresholds[1]) - 128) * 10;
    if (tenths < minimum)
        return StateLow;
    if (tenths > maximum)
        return StateHigh;
    return StateNormal;
}

QByteArray ControllerModel::status() const
{
    const int flags =
        temperatureState() | (options_.batteryMissing ? 4 : 0) | (options_.supplyMissing ? 8 : 0);
    QByteArray bytes;
    bytes.append(static_cast<char>(flags));
    bytes.append('\0'); // nothing pending: alarms are handled as they occur
    bytes.append(static_cast<char>(modemStage()));
    bytes.append(static_cast<char>(signal()));
    bytes.append(static_cast<char>(sms_));
    bytes.append(static_cast<char>(calls_));
    bytes.append(le16(temperatureRaw()));
    // Without its supply or battery the input reads close to nothing.
    bytes.append(le16(options_.supplyMissing ? 12 : options_.supplyRaw));
    bytes.append(le16(options_.batteryMissing ? 0 : options_.batteryRaw));
    return bytes;
}

QDateTime ControllerModel::clock() const
{
    return clockBase_.addMSecs(
        std::chrono::duration_cast<std::chrono::milliseconds>(now_ - clockSetAt_).count());
}

bool ControllerModel::bootImagePaddedAfter(qsizetype length) const
{
    if (length < 0 || length > image_.size())
        return false;
    return std::all_of(image_.cbegin() + length, image_.cend(),
                       [](char c) { return static_cast<quint8>(c) == 0xFF; });
}

} // namespace tq3sim
