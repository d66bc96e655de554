#pragma once

#include <QByteArray>
#include <QString>

namespace letterloom::project {

// The lines of a text file as the text input window holds them: every byte
// kept, lines separated by CR LF. A bare LF (the line break of most editors
// outside Windows) becomes CR LF; CR LF pairs and lone CRs stay as they are.
QByteArray readTextFile(const QString &path);

}  // namespace letterloom::project
