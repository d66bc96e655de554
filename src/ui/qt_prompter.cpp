#include "ui/qt_prompter.h"

#include "base/error.h"
#include "raster/raster.h"
#include "ui/grid_form.h"
#include "ui/kerning_form.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QSpinBox>

#include <algorithm>

namespace letterloom::ui {

namespace {

const QString kConfirmCaption = QStringLiteral("Confirm");
const QString kInformationCaption = QStringLiteral("Information");

// Puts a dialog in front and gives it the keyboard each time it is shown.
// A window manager that keeps new windows from taking the focus may map a
// dialog below the window that has it, such as a tool window that stays on
// top; asking once the dialog is up brings it above.
class FrontKeeper : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            auto *dialog = static_cast<QWidget *>(watched);
            bringToFront(dialog);
            QTimer::singleShot(0, dialog, [dialog] { bringToFront(dialog); });
        }
        return false;
    }

private:
    static void bringToFront(QWidget *dialog)
    {
        dialog->raise();
        dialog->activateWindow();
    }
};

}  // namespace

void keepOnTop(QWidget &dialog)
{
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    dialog.installEventFilter(new FrontKeeper(&dialog));
}

namespace {

// The one extension a filter of the file dialog stands for: "png" for
// "PNG pictures (*.png)"; empty for a filter of several patterns or of every file.
QString filterExtension(const QString &nameFilter)
{
    static const QRegularExpression single(QStringLiteral("\\(\\*\\.([^*.;() ]+)\\)$"));
    const QRegularExpressionMatch match = single.match(nameFilter);
    return match.hasMatch() ? match.captured(1) : QString();
}

void showBox(QWidget *parent, QMessageBox::Icon icon, const QString &caption, const QString &text)
{
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    keepOnTop(box);
    box.exec();
}

}  // namespace

QtPrompter::QtPrompter(QWidget *owner)
    : owner_(owner)
{
}

QWidget *QtPrompter::dialogParent() const
{
    if (QWidget *active = QApplication::activeWindow())
        return active;
    return owner_;
}

project::Answer QtPrompter::ask(const QString &question, bool withCancel)
{
    QMessageBox box(QMessageBox::Question, kConfirmCaption, question, QMessageBox::NoButton, dialogParent());
    QPushButton *yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    QPushButton *cancel = withCancel ? box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole) : nullptr;
    box.setDefaultButton(yes);
    // The close box and Escape count as Cancel, or as No when there is no Cancel.
    box.setEscapeButton(withCancel ? cancel : no);
    keepOnTop(box);
    box.exec();
    if (box.clickedButton() == yes)
        return project::Answer::Yes;
    if (box.clickedButton() == no || !withCancel)
        return project::Answer::No;
    return project::Answer::Cancel;
}

void QtPrompter::confirmNotice(const QString &text)
{
    showBox(dialogParent(), QMessageBox::Question, kConfirmCaption, text);
}

void QtPrompter::notice(const QString &text)
{
    showBox(dialogParent(), QMessageBox::NoIcon, kApplicationTitle, text);
}

void QtPrompter::information(const QString &text)
{
    showBox(dialogParent(), QMessageBox::Information, kInformationCaption, text);
}

void QtPrompter::error(const QString &message)
{
    showBox(dialogParent(), QMessageBox::Critical, kApplicationTitle, errorBoxText(message));
}

std::optional<QString> QtPrompter::chooseFile(project::FileDialog &dialog, bool saving)
{
    QFileDialog box(dialogParent(), QString(), dialog.initialDirectory, toDialogFilter(dialog.filter));
    box.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The commands ask about replacing a file themselves.
    box.setOption(QFileDialog::DontConfirmOverwrite);
    if (!dialog.fileName.isEmpty())
        box.selectFile(dialog.fileName);
    // Saving starts with the kind of file the proposed name has, else the
    // command's own kind.
    if (saving) {
        const QString proposed = QFileInfo(dialog.fileName).suffix();
        for (const QString &wanted : {proposed, dialog.defaultExtension}) {
            const QStringList filters = box.nameFilters();
            const auto fits = std::find_if(filters.cbegin(), filters.cend(), [&](const QString &filter) {
                return !wanted.isEmpty() && filterExtension(filter).compare(wanted, Qt::CaseInsensitive) == 0;
            });
            if (fits != filters.cend()) {
                box.selectNameFilter(*fits);
                break;
            }
        }
    }
    keepOnTop(box);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return std::nullopt;
    QString chosen = box.selectedFiles().constFirst();
    // A name typed without an extension takes that of the kind chosen in the
    // dialog, so that the file is what its name says.
    if (saving && QFileInfo(chosen).suffix().isEmpty()) {
        QString extension = filterExtension(box.selectedNameFilter());
        if (extension.isEmpty())
            extension = dialog.defaultExtension;
        if (!extension.isEmpty())
            chosen += (chosen.endsWith(u'.') ? QString() : QStringLiteral(".")) + extension;
    }
    dialog.proposePath(chosen);
    return chosen;
}

std::optional<QString> QtPrompter::chooseOpenFile(project::FileDialog &dialog)
{
    return chooseFile(dialog, false);
}

std::optional<QString> QtPrompter::chooseSaveFile(project::FileDialog &dialog)
{
    return chooseFile(dialog, true);
}

std::optional<raster::Colour> QtPrompter::chooseColour(raster::Colour start)
{
    QColorDialog box(QColor::fromRgb(raster::toQRgb(start)), dialogParent());
    keepOnTop(box);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return raster::fromQRgb(box.selectedColor().rgb());
}

std::optional<project::TextArea> QtPrompter::chooseTextArea(const project::TextArea &start, QSize pictureSize)
{
    QDialog box(dialogParent());
    box.setObjectName(QStringLiteral("TextAreaDialog"));
    box.setWindowTitle(QStringLiteral("Text Area"));
    auto *layout = new QFormLayout(&box);
    if (!pictureSize.isEmpty())
        layout->addRow(new QLabel(QStringLiteral("Picture: %1 x %2 pixels").arg(pictureSize.width()).arg(pictureSize.height())));
    // Every field takes 0 up to the largest picture side, and whatever value
    // the area holds now, so that OK without an edit changes nothing.
    const auto addField = [&](const char *name, const QString &label, std::int32_t value) {
        auto *field = new QSpinBox(&box);
        field->setObjectName(QLatin1String(name));
        field->setRange(std::min(0, value), std::max(raster::Raster::kMaxSide, value));
        field->setValue(value);
        layout->addRow(label, field);
        return field;
    };
    QSpinBox *x = addField("seAreaX", QStringLiteral("&X:"), start.x);
    QSpinBox *y = addField("seAreaY", QStringLiteral("&Y:"), start.y);
    QSpinBox *width = addField("seAreaWidth", QStringLiteral("&Width:"), start.width);
    QSpinBox *height = addField("seAreaHeight", QStringLiteral("&Height:"), start.height);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &box);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    layout->addRow(buttons);
    x->selectAll();
    keepOnTop(box);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return project::TextArea{x->value(), y->value(), width->value(), height->value()};
}

std::optional<font::GridImportSettings> QtPrompter::chooseGridImport(const QImage &picture,
                                                                     const font::GridImportSettings &start)
{
    TgridForm form(*this, picture, start, dialogParent());
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    return form.importSettings();
}

std::optional<font::GridExportSettings> QtPrompter::chooseGridExport(const font::GlyphTable &glyphs,
                                                                     const font::GridExportSettings &start)
{
    TgridForm form(*this, glyphs, start, dialogParent());
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    return form.exportSettings();
}

std::optional<font::Kerning> QtPrompter::chooseKerning(const font::GlyphTable &glyphs, const font::Kerning &start,
                                                       const font::CharMap &map)
{
    TkerningForm form(glyphs, start, map, dialogParent());
    keepOnTop(form);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    return form.kerning();
}

std::optional<int> QtPrompter::chooseItem(const QString &caption, const QString &label, const QStringList &items,
                                          int current)
{
    QInputDialog box(dialogParent());
    box.setWindowTitle(caption);
    box.setLabelText(label);
    box.setComboBoxItems(items);
    box.setComboBoxEditable(false);
    if (current >= 0 && current < items.size())
        box.setTextValue(items[current]);
    keepOnTop(box);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    const qsizetype chosen = items.indexOf(box.textValue());
    return chosen < 0 ? std::nullopt : std::optional<int>(int(chosen));
}

QString toDialogFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts[i];
        QString patterns = QString(parts[i + 1]).replace(u';', u' ');
        // "*.*" means every file, but here it would only match names with a
        // dot: files without an extension could not be chosen.
        if (patterns == QStringLiteral("*.*")) {
            label.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
            patterns = QStringLiteral("*");
        }
        // The dialog reads the patterns from the parentheses of the label.
        if (label.contains(u'(' + patterns + u')'))
            filters << label;
        else
            filters << label + QStringLiteral(" (") + patterns + u')';
    }
    if (parts.size() % 2 == 1 && !parts.constLast().isEmpty())
        filters << parts.constLast();
    return filters.join(QStringLiteral(";;"));
}

}  // namespace letterloom::ui
