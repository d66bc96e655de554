// The message boxes and file dialogs as the user meets them: captions, icons,
// buttons, what closing a box answers, and what the file dialogs start with.

#include "ui/qt_prompter.h"
#include "ui/tool_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using letterloom::project::Answer;
using letterloom::project::FileDialog;
using letterloom::ui::QtPrompter;

Q_DECLARE_METATYPE(Answer)
Q_DECLARE_METATYPE(letterloom::project::TextArea)
Q_DECLARE_METATYPE(std::optional<letterloom::project::TextArea>)

namespace {

// Runs `act` on the modal dialog as soon as the prompter has opened it.
template <typename Dialog>
void whenShown(const std::function<void(Dialog *)> &act)
{
    QTimer::singleShot(0, qApp, [act] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            QApplication::activeModalWidget()->close();
            QFAIL("no dialog of the expected kind");
        }
        act(dialog);
    });
}

QStringList buttonTexts(QMessageBox *box)
{
    QStringList texts;
    for (QAbstractButton *button : box->buttons())
        texts << button->text();
    texts.sort();
    return texts;
}

QAbstractButton *buttonWithText(QMessageBox *box, const QString &text)
{
    for (QAbstractButton *button : box->buttons())
        if (button->text() == text)
            return button;
    return nullptr;
}

}  // namespace

class TestQtPrompter : public QObject {
    Q_OBJECT

private slots:
    void settingsAreTheTestsOwn();
    void dialogFilters_data();
    void dialogFilters();
    void questions_data();
    void questions();
    void notices_data();
    void notices();
    void fileDialogs_data();
    void fileDialogs();
    void cancelledFileDialog();
    void saveFilterGivesTheExtension_data();
    void saveFilterGivesTheExtension();
    void textAreaDialog_data();
    void textAreaDialog();
    void dialogsOpenAboveTheToolWindows_data();
    void dialogsOpenAboveTheToolWindows();

private:
    QTemporaryDir dir_;
};

// What an ordinary session left in the user's settings (a file dialog's last
// folder on /proc makes the next dialog hang) must not reach the tests.
void TestQtPrompter::settingsAreTheTestsOwn()
{
    const QDir config(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    QVERIFY(config != QDir(QDir::homePath() + QStringLiteral("/.config")));
    QVERIFY(!config.absolutePath().startsWith(QDir::homePath() + u'/'));
    QCOMPARE(QSettings(QSettings::UserScope, QStringLiteral("QtProject")).allKeys(), QStringList());
}

void TestQtPrompter::dialogFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");

    QTest::newRow("one kind") << "Bitmaps (*.bmp)|*.bmp" << "Bitmaps (*.bmp)";
    QTest::newRow("two kinds") << "Text Files (*.txt)|*.txt|All Files (*.*)|*.*"
                               << "Text Files (*.txt);;All Files (*)";
    QTest::newRow("patterns not in the label") << "Pictures|*.bmp;*.dib" << "Pictures (*.bmp *.dib)";
    QTest::newRow("none") << "" << "";
}

void TestQtPrompter::dialogFilters()
{
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(letterloom::ui::toDialogFilter(filter), expected);
}

void TestQtPrompter::questions_data()
{
    QTest::addColumn<bool>("withCancel");
    QTest::addColumn<QString>("action");
    QTest::addColumn<Answer>("answer");

    QTest::newRow("Yes") << false << "&Yes" << Answer::Yes;
    QTest::newRow("No") << false << "&No" << Answer::No;
    QTest::newRow("close box without Cancel") << false << "close" << Answer::No;
    QTest::newRow("Escape without Cancel") << false << "escape" << Answer::No;
    QTest::newRow("Yes of three") << true << "&Yes" << Answer::Yes;
    QTest::newRow("No of three") << true << "&No" << Answer::No;
    QTest::newRow("Cancel") << true << "Cancel" << Answer::Cancel;
    QTest::newRow("close box with Cancel") << true << "close" << Answer::Cancel;
    QTest::newRow("Escape with Cancel") << true << "escape" << Answer::Cancel;
}

void TestQtPrompter::questions()
{
    QFETCH(bool, withCancel);
    QFETCH(QString, action);
    QFETCH(Answer, answer);
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    whenShown<QMessageBox>([&](QMessageBox *box) {
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = buttonTexts(box);
        if (action == u"close")
            box->close();
        else if (action == u"escape")
            QTest::keyClick(box, Qt::Key_Escape);
        else
            buttonWithText(box, action)->click();
    });

    QtPrompter prompter;
    QCOMPARE(prompter.ask(QStringLiteral("Overwrite?"), withCancel), answer);
    QCOMPARE(caption, QStringLiteral("Confirm"));
    QCOMPARE(text, QStringLiteral("Overwrite?"));
    QCOMPARE(icon, QMessageBox::Question);
    QCOMPARE(buttons, (withCancel ? QStringList{"&No", "&Yes", "Cancel"} : QStringList{"&No", "&Yes"}));
}

void TestQtPrompter::notices_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("shown");

    QTest::newRow("error with a full stop added") << "error" << "Disk full" << "Letterloom"
                                                  << int(QMessageBox::Critical) << "Disk full.";
    QTest::newRow("error ending in a sign") << "error" << "Out of room!" << "Letterloom"
                                            << int(QMessageBox::Critical) << "Out of room!";
    QTest::newRow("layout notice") << "notice" << "Text does not fit" << "Letterloom" << int(QMessageBox::NoIcon)
                                   << "Text does not fit";
    QTest::newRow("font notice") << "confirmNotice" << "Font is not loaded." << "Confirm"
                                 << int(QMessageBox::Question) << "Font is not loaded.";
    QTest::newRow("about box") << "information" << "line one\r\nline two" << "Information"
                               << int(QMessageBox::Information) << "line one\r\nline two";
}

void TestQtPrompter::notices()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QFETCH(QString, caption);
    QFETCH(int, icon);
    QFETCH(QString, shown);
    QString seenCaption;
    QString seenText;
    int seenIcon = -1;
    QStringList buttons;
    whenShown<QMessageBox>([&](QMessageBox *box) {
        seenCaption = box->windowTitle();
        seenText = box->text();
        seenIcon = box->icon();
        buttons = buttonTexts(box);
        box->buttons().constFirst()->click();
    });

    QtPrompter prompter;
    if (kind == u"error")
        prompter.error(message);
    else if (kind == u"notice")
        prompter.notice(message);
    else if (kind == u"confirmNotice")
        prompter.confirmNotice(message);
    else
        prompter.information(message);
    QCOMPARE(seenCaption, caption);
    QCOMPARE(seenText, shown);
    QCOMPARE(seenIcon, icon);
    QCOMPARE(buttons, QStringList{"OK"});
}

void TestQtPrompter::fileDialogs_data()
{
    QTest::addColumn<bool>("saving");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("chosen");

    QTest::newRow("open") << false << "" << "old.llp" << "old.llp";
    QTest::newRow("save with the extension added") << true << "llp" << "new" << "new.llp";
    QTest::newRow("save over an existing file, no question") << true << "llp" << "old.llp" << "old.llp";
}

void TestQtPrompter::fileDialogs()
{
    QFETCH(bool, saving);
    QFETCH(QString, extension);
    QFETCH(QString, typed);
    QFETCH(QString, chosen);
    QFile existing(dir_.filePath(QStringLiteral("old.llp")));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();

    FileDialog dialog{QStringLiteral("Letterloom (*.llp)|*.llp"), extension, dir_.path(), QStringLiteral("old.llp")};
    QStringList filters;
    QString directory;
    QStringList proposed;
    bool asksToOverwrite = true;
    whenShown<QFileDialog>([&](QFileDialog *box) {
        filters = box->nameFilters();
        directory = box->directory().absolutePath();
        proposed = box->selectedFiles();
        asksToOverwrite = !box->testOption(QFileDialog::DontConfirmOverwrite);
        box->selectFile(typed);
        static_cast<QDialog *>(box)->accept();  // as the dialog's own Open or Save button does
    });

    QtPrompter prompter;
    const std::optional<QString> path = saving ? prompter.chooseSaveFile(dialog) : prompter.chooseOpenFile(dialog);
    QCOMPARE(filters, QStringList{"Letterloom (*.llp)"});
    QCOMPARE(directory, QDir(dir_.path()).absolutePath());
    QCOMPARE(proposed, QStringList{dir_.filePath(QStringLiteral("old.llp"))});
    QVERIFY(!asksToOverwrite);
    QCOMPARE(path.value_or(QString()), dir_.filePath(chosen));
    // The dialog starts next time where this choice left it.
    QCOMPARE(dialog.fileName, chosen);
    QCOMPARE(QDir(dialog.initialDirectory), QDir(dir_.path()));
}

// Whichever window has the keyboard, a stay-on-top tool window included,
// every box and dialog opens above the program's windows and takes the
// keyboard from it.
void TestQtPrompter::dialogsOpenAboveTheToolWindows_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"ask", "notice", "error", "open", "save", "colour"})
        QTest::newRow(kind) << QString(kind);
}

void TestQtPrompter::dialogsOpenAboveTheToolWindows()
{
    QFETCH(QString, kind);
    QWidget toolWindow;
    letterloom::ui::makeToolWindow(&toolWindow);
    toolWindow.show();
    toolWindow.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&toolWindow));

    bool onTop = false;
    bool tookTheKeyboard = false;
    whenShown<QDialog>([&](QDialog *box) {
        onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        tookTheKeyboard = QTest::qWaitFor([box] { return QApplication::activeWindow() == box; });
        box->reject();
    });
    QtPrompter prompter(&toolWindow);
    FileDialog dialog{QStringLiteral("Bitmaps (*.bmp)|*.bmp"), QStringLiteral("bmp"), dir_.path(), QString()};
    if (kind == u"ask")
        prompter.ask(QStringLiteral("Really?"), true);
    else if (kind == u"notice")
        prompter.notice(QStringLiteral("Noted"));
    else if (kind == u"error")
        prompter.error(QStringLiteral("Disk full"));
    else if (kind == u"open")
        prompter.chooseOpenFile(dialog);
    else if (kind == u"save")
        prompter.chooseSaveFile(dialog);
    else
        prompter.chooseColour(0);
    QVERIFY(onTop);
    QVERIFY(tookTheKeyboard);
}

// In a save dialog of several kinds of file, the kind chosen gives a name
// typed without an extension its extension; the dialog starts with the kind
// of the proposed name, else the command's own.
void TestQtPrompter::saveFilterGivesTheExtension_data()
{
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<QString>("startsWith");
    QTest::addColumn<QString>("pick");  // the filter chosen, empty for the one it starts with
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("chosen");

    const QString bmp = QStringLiteral("Bitmaps (*.bmp)");
    const QString png = QStringLiteral("PNG pictures (*.png)");
    QTest::newRow("PNG chosen, bare name") << "" << bmp << png << "sign" << "sign.png";
    QTest::newRow("BMP as it starts, bare name") << "" << bmp << "" << "sign" << "sign.bmp";
    QTest::newRow("an extension typed is kept") << "" << bmp << png << "sign.bmp" << "sign.bmp";
    QTest::newRow("an unknown extension is left for the command") << "" << bmp << "" << "sign.jpg" << "sign.jpg";
    QTest::newRow("starts with the proposed name's kind") << "last.png" << png << "" << "sign" << "sign.png";
    QTest::newRow("a name ending in a dot") << "" << bmp << png << "sign." << "sign.png";
}

void TestQtPrompter::saveFilterGivesTheExtension()
{
    QFETCH(QString, proposed);
    QFETCH(QString, startsWith);
    QFETCH(QString, pick);
    QFETCH(QString, typed);
    QFETCH(QString, chosen);
    FileDialog dialog{QStringLiteral("Bitmaps (*.bmp)|*.bmp|PNG pictures (*.png)|*.png"), QStringLiteral("bmp"),
                      dir_.path(), proposed};
    QString started;
    whenShown<QFileDialog>([&](QFileDialog *box) {
        started = box->selectedNameFilter();
        if (!pick.isEmpty())
            box->selectNameFilter(pick);
        box->selectFile(typed);
        static_cast<QDialog *>(box)->accept();
    });
    QtPrompter prompter;
    const std::optional<QString> path = prompter.chooseSaveFile(dialog);
    QCOMPARE(started, startsWith);
    QCOMPARE(path.value_or(QString()), dir_.filePath(chosen));
    QCOMPARE(dialog.fileName, chosen);
}

void TestQtPrompter::cancelledFileDialog()
{
    FileDialog dialog{QStringLiteral("Bitmaps (*.bmp)|*.bmp"), QStringLiteral("bmp"), dir_.path(), QString()};
    whenShown<QFileDialog>([](QFileDialog *box) { box->reject(); });
    QtPrompter prompter;
    QCOMPARE(prompter.chooseSaveFile(dialog), std::nullopt);
    QCOMPARE(dialog.fileName, QString());
}

void TestQtPrompter::textAreaDialog_data()
{
    using letterloom::project::TextArea;
    QTest::addColumn<TextArea>("start");
    QTest::addColumn<QString>("typed");  // "X Y WIDTH HEIGHT", or nothing to leave the fields
    QTest::addColumn<bool>("ok");
    QTest::addColumn<std::optional<TextArea>>("chosen");

    QTest::newRow("typed") << TextArea{1, 2, 3, 4} << "10 20 300 40" << true
                           << std::optional<TextArea>(TextArea{10, 20, 300, 40});
    QTest::newRow("the largest side") << TextArea{} << "32767 0 32767 32767" << true
                                      << std::optional<TextArea>(TextArea{32767, 0, 32767, 32767});
    // Values from a project file that lie outside the fields' usual range
    // come back as they were.
    QTest::newRow("OK without an edit keeps odd values") << TextArea{-20, 5, 40000, 0} << "" << true
                                                         << std::optional<TextArea>(TextArea{-20, 5, 40000, 0});
    QTest::newRow("Cancel") << TextArea{1, 2, 3, 4} << "10 20 300 40" << false << std::optional<TextArea>();
}

void TestQtPrompter::textAreaDialog()
{
    using letterloom::project::TextArea;
    QFETCH(TextArea, start);
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(std::optional<TextArea>, chosen);
    QtPrompter prompter;
    QStringList shown;
    whenShown<QDialog>([&](QDialog *dialog) {
        shown << dialog->windowTitle();
        const QStringList values = typed.split(u' ', Qt::SkipEmptyParts);
        const char *names[] = {"seAreaX", "seAreaY", "seAreaWidth", "seAreaHeight"};
        for (int i = 0; i < 4; ++i) {
            auto *field = dialog->findChild<QSpinBox *>(QLatin1String(names[i]));
            shown << QString::number(field->value());
            if (!values.isEmpty()) {
                field->selectAll();
                QTest::keyClicks(field, values[i]);
            }
        }
        auto *buttons = dialog->findChild<QDialogButtonBox *>();
        buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    });
    QCOMPARE(prompter.chooseTextArea(start, QSize(320, 200)), chosen);
    QCOMPARE(shown, (QStringList{"Text Area", QString::number(start.x), QString::number(start.y),
                                 QString::number(start.width), QString::number(start.height)}));
}

QTEST_MAIN(TestQtPrompter)
#include "tst_qt_prompter.moc"
