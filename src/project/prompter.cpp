#include "project/prompter.h"

#include "base/error.h"

#include <QFileInfo>

namespace letterloom::project {

void FileDialog::proposePath(const QString &path)
{
    const QFileInfo info(path);
    initialDirectory = info.absolutePath();
    fileName = info.fileName();
}

bool runCommand(Prompter &prompter, const std::function<void()> &body)
{
    try {
        body();
        return true;
    } catch (const std::exception &failure) {
        prompter.error(messageOf(failure));
    }
    return false;
}

}  // namespace letterloom::project
