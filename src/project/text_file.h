#pragma once

#include <QByteArray>
#include <QString>

namespace letterloom::project {

// The lines of a text file as the text input window holds them: every byte
// kept, lines separated by CR LF. A line ends at CR LF, at a bare LF (most
// editors outside Windows) or at a lone CR (old Macintosh editors); each of
// them becomes CR LF.
QByteArray readTextFile(const QString &path);

}  // namespace letterloom::project
