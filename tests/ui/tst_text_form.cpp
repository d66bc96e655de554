// The text input window: the project's text is bytes, and every byte value
// must come back out of the editor as it went in.

#include "project/project_file.h"
#include "project/workspace.h"
#include "support/fake_prompter.h"
#include "ui/application.h"
#include "ui/main_form.h"
#include "ui/text_codec.h"
#include "ui/text_form.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <memory>

using letterloom::testing::FakePrompter;
using letterloom::ui::Shell;

namespace {

QByteArray allByteValues()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes += char(b);
    return bytes;
}

QPlainTextEdit *memoOf(Shell &shell)
{
    return shell.windows().text->findChild<QPlainTextEdit *>(QStringLiteral("Memo"));
}

// Types text as a keyboard of any layout would, one key event a character.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

}  // namespace

class TestTextForm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyByteSurvivesTheEditor_data();
    void everyByteSurvivesTheEditor();
    void editorTextBecomesBytes_data();
    void editorTextBecomesBytes();
    void softWrapsAreNotLineBreaks();
    void changesMarkTheText();
    void pasteTakesOnlyPlainText_data();
    void pasteTakesOnlyPlainText();
    void typingGoesThroughTheMap();
    void projectTextSurvivesOpenAndSave();

private:
    QTemporaryDir dir_;
    FakePrompter prompter_;
    std::unique_ptr<Shell> shell_;
};

void TestTextForm::initTestCase()
{
    shell_ = std::make_unique<Shell>(prompter_, dir_.path());
}

void TestTextForm::everyByteSurvivesTheEditor_data()
{
    QTest::addColumn<QByteArray>("bytes");

    for (int b = 0; b < 256; ++b) {
        const QByteArray byte(1, char(b));
        QTest::addRow("byte %d alone", b) << byte;
        QTest::addRow("byte %d between words", b) << "ab" + byte + "cd";
        QTest::addRow("byte %d before a line break", b) << byte + "\r\n" + byte;
    }
    QTest::newRow("all bytes in a row") << allByteValues();
    QTest::newRow("line break") << QByteArray("one\r\ntwo");
    QTest::newRow("lone CR") << QByteArray("one\rtwo");
    QTest::newRow("lone LF") << QByteArray("one\ntwo");
    QTest::newRow("LF CR") << QByteArray("one\n\rtwo");
    QTest::newRow("CR before a line break") << QByteArray("one\r\r\ntwo");
    QTest::newRow("LF after a line break") << QByteArray("one\r\n\ntwo");
    QTest::newRow("CR at the end") << QByteArray("end\r");
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n\r\n");
    QTest::newRow("no-break spaces") << QByteArray("a\xA0\xA0 b");
    QTest::newRow("empty") << QByteArray();
}

void TestTextForm::everyByteSurvivesTheEditor()
{
    QFETCH(QByteArray, bytes);
    letterloom::ui::TtextForm *text = shell_->windows().text;
    text->setBytes(bytes);
    QCOMPARE(text->bytes(), bytes);
}

void TestTextForm::editorTextBecomesBytes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("failedAt");  // where a character without a code stops it

    QTest::newRow("Latin-1 letters") << QStringLiteral("caf\u00e9 \u00ff") << QByteArray("caf\xe9 \xff") << -1;
    QTest::newRow("a character Latin-1 lacks") << QStringLiteral("5 \u20ac") << QByteArray("5 ") << 2;
    QTest::newRow("a character beyond the basic plane") << QStringLiteral("a\U0001F600b") << QByteArray("a") << 1;
    QTest::newRow("Enter") << QStringLiteral("a\u2029b") << QByteArray("a\r\nb") << -1;
    QTest::newRow("Shift+Enter") << QStringLiteral("a\u2028b") << QByteArray("a\r\nb") << -1;
    QTest::newRow("pictures of control bytes") << QStringLiteral("\u2400\u240d\u240a\u241f\u2421")
                                               << QByteArray("\0\r\n\x1f\x7f", 5) << -1;
    QTest::newRow("tab") << QStringLiteral("a\tb") << QByteArray("a\tb") << -1;
}

void TestTextForm::editorTextBecomesBytes()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, bytes);
    QFETCH(int, failedAt);
    const letterloom::font::CharMap::Encoded encoded = letterloom::ui::editorTextToBytes(typed);
    QCOMPARE(encoded.bytes, bytes);
    QCOMPARE(encoded.failedAt, failedAt);
}

void TestTextForm::softWrapsAreNotLineBreaks()
{
    FakePrompter prompter;
    Shell shell(prompter, dir_.path());
    shell.show();
    QPlainTextEdit *memo = memoOf(shell);
    const QByteArray bytes = QByteArray("word ").repeated(200);
    shell.windows().text->setBytes(bytes);
    QTRY_VERIFY(memo->document()->firstBlock().layout()->lineCount() > 1);
    QCOMPARE(memo->document()->blockCount(), 1);
    QCOMPARE(shell.windows().text->bytes(), bytes);
}

void TestTextForm::changesMarkTheText()
{
    FakePrompter prompter;
    Shell shell(prompter, dir_.path());
    QVERIFY(!shell.workspace().textChanged);
    QTest::keyClicks(memoOf(shell), QStringLiteral("Hi"));
    QVERIFY(shell.workspace().textChanged);
    QCOMPARE(shell.windows().text->bytes(), QByteArray("Hi"));
}

// Ctrl+V and Shift+Insert with a clipboard that holds nothing, or nothing
// but a picture or rich text, insert nothing or only the plain text; an
// empty clipboard used to bring the program down.
void TestTextForm::pasteTakesOnlyPlainText_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty clipboard") << QString() << QByteArray() << QString() << QByteArray("ab");
    QTest::newRow("empty text") << QString() << QByteArray() << QStringLiteral("") << QByteArray("ab");
    QTest::newRow("picture only") << QStringLiteral("image/png") << QByteArray("\x89PNG") << QString()
                                  << QByteArray("ab");
    QTest::newRow("rich text and plain") << QStringLiteral("text/html") << QByteArray("<b>bold</b>")
                                         << QStringLiteral("Hi") << QByteArray("aHib");
}

void TestTextForm::pasteTakesOnlyPlainText()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, data);
    QFETCH(QString, plain);
    QFETCH(QByteArray, bytes);
    for (const QKeySequence &keys : {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)}) {
        FakePrompter prompter;
        Shell shell(prompter, dir_.path());
        QPlainTextEdit *memo = memoOf(shell);
        shell.windows().text->setBytes("ab");
        memo->moveCursor(QTextCursor::Start);
        memo->moveCursor(QTextCursor::NextCharacter);
        auto *mime = new QMimeData;
        if (!format.isEmpty())
            mime->setData(format, data);
        if (!plain.isNull())
            mime->setText(plain);
        QGuiApplication::clipboard()->setMimeData(mime);
        QTest::keySequence(memo, keys);
        QCOMPARE(shell.windows().text->bytes(), bytes);
    }
}

// Typed text is encoded through the font's character map; a character the
// map has no code for is refused with a hint and leaves text and flag alone;
// another map shows the same bytes anew without marking the text.
void TestTextForm::typingGoesThroughTheMap()
{
    FakePrompter prompter;
    Shell shell(prompter, dir_.path());
    letterloom::project::Workspace &workspace = shell.workspace();
    letterloom::ui::TtextForm *text = shell.windows().text;
    QPlainTextEdit *memo = memoOf(shell);
    workspace.fontExtras.charMap = letterloom::font::CharMap::fromCodePage(QStringLiteral("windows-1251"));
    text->setBytes(QByteArray::fromHex("CFF0E8E2E5F2"));
    QCOMPARE(memo->toPlainText(), u"Привет"_qs);
    workspace.textChanged = false;

    memo->moveCursor(QTextCursor::End);
    typeText(memo, u" мир"_qs);
    const QByteArray typed = QByteArray::fromHex("CFF0E8E2E5F220ECE8F0");
    QCOMPARE(text->bytes(), typed);
    QVERIFY(workspace.textChanged);
    QCOMPARE(text->refusal(), QString());

    workspace.textChanged = false;
    typeText(memo, u"é"_qs);
    QCOMPARE(text->bytes(), typed);
    QCOMPARE(memo->toPlainText(), u"Привет мир"_qs);
    QVERIFY(!workspace.textChanged);
    QVERIFY(text->refusal().startsWith(u"\u201Cé\u201D (U+00E9)"_qs));
    typeText(memo, u"!"_qs);
    QCOMPARE(text->bytes(), typed + "!");
    QCOMPARE(text->refusal(), QString());

    workspace.textChanged = false;
    workspace.fontExtras.charMap = letterloom::font::CharMap::fromCodePage(QStringLiteral("KOI8-R"));
    text->showThroughMap();
    QCOMPARE(text->bytes(), typed + "!");
    QCOMPARE(memo->toPlainText(), u"оПХБЕР ЛХП!"_qs);
    QVERIFY(!workspace.textChanged);
}

void TestTextForm::projectTextSurvivesOpenAndSave()
{
    letterloom::project::ProjectFile file;
    file.text = allByteValues() + "\r\n\n\r" + allByteValues();
    file.pictureBmp = letterloom::raster::Raster(4, 3).toBmp();
    const QString opened = dir_.filePath(QStringLiteral("bytes.llp"));
    const QString saved = dir_.filePath(QStringLiteral("bytes-again.llp"));
    {
        QFile out(opened);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(letterloom::project::projectBytes(file));
    }

    FakePrompter prompter;
    Shell shell(prompter, dir_.path());
    prompter.chooseFile(opened).chooseFile(saved);
    shell.windows().main->findChild<QAction *>(QStringLiteral("mmLoadProject"))->trigger();
    shell.windows().main->findChild<QAction *>(QStringLiteral("mmSaveAsProject"))->trigger();
    QCOMPARE(prompter.errors(), QStringList());

    QFile in(saved);
    QVERIFY(in.open(QIODevice::ReadOnly));
    QCOMPARE(letterloom::project::parseProject(in.readAll()).text, file.text);
}

QTEST_MAIN(TestTextForm)
#include "tst_text_form.moc"
