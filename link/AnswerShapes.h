#pragma once
// What the controller's answers look like, by type: which types it sends and
// how long each one's payload can be. The assembler uses it to tell a true
// answer from a false start byte.
#include <QtGlobal>

namespace tq3 {

// The types of the controller's answers: each is the code of a command it answers.
bool IsAnswerType(quint8 type);
// Whether the controller sends answers of this type with this many payload
// bytes. The answers whose payload is read have their lengths (a short one
// is still taken where the reader copes with it); the others may be of any.
bool ControllerAnswerFits(quint8 type, int length);

} // namespace tq3
