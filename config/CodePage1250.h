#pragma once
// Texts on the line and in files are single bytes in code page 1250. Every byte
// maps to one character and back unchanged; the five positions the code page
// leaves undefined map to private-use characters so that they survive a round
// trip through an edit field too.
#include <QByteArray>
#include <QString>

namespace tq3 {

QString FromCp1250(const QByteArray& bytes);
// Characters code page 1250 cannot hold make ok false and are left out.
QByteArray ToCp1250(const QString& text, bool* ok = nullptr);
bool IsCp1250(QChar c);

} // namespace tq3
