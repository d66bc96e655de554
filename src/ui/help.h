#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>

class QTextBrowser;

namespace letterloom::ui {

// Asks the platform to open a document with the application it has for it,
// and calls cannot() when it cannot (no such application, as when a machine
// has no web browser), possibly a moment later.
using DocumentOpener = std::function<void(const QUrl &document, const std::function<void()> &cannot)>;

// The platform's own way: the desktop's opener, watched for its failure
// where it reports one.
void openWithPlatform(const QUrl &document, const std::function<void()> &cannot);

// The help Help Contents shows, in the order it is looked for in the program
// directory: the help file "help.chm", then the user manual
// "manual/index.html". Empty when neither is there.
QString helpDocument(const QString &programDirectory);

// A window of the program's own that shows the user manual when the platform
// has nothing to open it with. Links inside the manual are followed in it.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows a page of the manual (an HTML file) and brings the window to the front.
    void showPage(const QString &path);
    QUrl page() const;

private:
    QTextBrowser *browser_;
};

}  // namespace letterloom::ui
