#include "effect_options.h"

#include "cli.h"
#include "project_input.h"

#include <QRegularExpression>

namespace letterloom::cli {

namespace {

const QString kOutline = QStringLiteral("outline");
const QString kShadow = QStringLiteral("shadow");
const QString kPlate = QStringLiteral("plate");
const QString kNoEffects = QStringLiteral("no-effects");
const QString kTracking = QStringLiteral("tracking");
const QString kWordSpacing = QStringLiteral("word-spacing");

// A colour after ':' in a value; black when there is none.
raster::Colour colourOf(const QRegularExpressionMatch &match, int group)
{
    return match.captured(group).isEmpty() ? raster::kBlack : *parseColour(match.captured(group));
}

QRegularExpressionMatch matchOf(const CommandLine &line, const QString &option, const QString &pattern,
                                const QString &form)
{
    const QRegularExpression expression(QLatin1Char('^') + pattern + QStringLiteral("(?::(#?[0-9A-Fa-f]{6}))?$"));
    const QRegularExpressionMatch match = expression.match(line.value(option));
    if (!match.hasMatch())
        throw UsageError(QStringLiteral("--%1 takes %2, not '%3'").arg(option, form, line.value(option)));
    return match;
}

int numberIn(const QString &option, const QString &digits, int low, int high)
{
    const int number = digits.toInt();
    if (digits.size() > 3 || number < low || number > high)
        throw UsageError(QStringLiteral("--%1: %2 is not from %3 to %4").arg(option, digits).arg(low).arg(high));
    return number;
}

}  // namespace

void addEffectOptions(CommandLine &line)
{
    line.addOption({kOutline, QStringLiteral("Outline the text N pixels wide (0 to 8, 0 for none), square or round, "
                                             "in RRGGBB (default black, square); instead of the project's outline."),
                    QStringLiteral("N[:RRGGBB][,round|,square]")});
    line.addOption({kShadow, QStringLiteral("Shadow the text and its outline, moved DX, DY pixels (-16 to 16 each), in "
                                            "RRGGBB (default black); instead of the project's shadow."),
                    QStringLiteral("DX,DY[:RRGGBB]")});
    line.addOption({kPlate, QStringLiteral("Fill the text's bounding box grown by PAD pixels (0 to 32) behind it, in "
                                           "RRGGBB (default black); instead of the project's plate."),
                    QStringLiteral("PAD[:RRGGBB]")});
    line.addOption({kNoEffects, QStringLiteral("Leave out the project's effects; those given here still apply.")});
}

void addSpacingOptions(CommandLine &line)
{
    line.addOption({kTracking, QStringLiteral("Extra pixels between the characters of every word (-8 to 16), instead "
                                              "of each area's own tracking."),
                    QStringLiteral("N")});
    line.addOption({kWordSpacing, QStringLiteral("Extra pixels added to the width of a space (-8 to 16), instead of "
                                                 "each area's own word spacing."),
                    QStringLiteral("N")});
}

text::Spacing spacingOf(const CommandLine &line, const text::Spacing &area)
{
    text::Spacing spacing = area;
    const auto valueOf = [&](const QString &option, int low, int high) {
        static const QRegularExpression form(QStringLiteral("^-?\\d{1,3}$"));
        const QString value = line.value(option);
        if (!form.match(value).hasMatch())
            throw UsageError(QStringLiteral("--%1 takes a whole number from %2 to %3, not '%4'")
                                 .arg(option).arg(low).arg(high).arg(value));
        const int number = value.toInt();
        if (number < low || number > high)
            throw UsageError(QStringLiteral("--%1: %2 is not from %3 to %4").arg(option, value).arg(low).arg(high));
        return number;
    };
    if (line.isSet(kTracking))
        spacing.tracking = valueOf(kTracking, text::kMinTracking, text::kMaxTracking);
    if (line.isSet(kWordSpacing))
        spacing.wordSpacing = valueOf(kWordSpacing, text::kMinWordSpacing, text::kMaxWordSpacing);
    return spacing;
}

text::Effects effectsOf(const CommandLine &line, const text::Effects &project)
{
    text::Effects effects = line.isSet(kNoEffects) ? text::Effects{} : project;
    if (line.isSet(kOutline)) {
        const QString value = line.value(kOutline);
        const QRegularExpression form(QStringLiteral("^(\\d+)(?::(#?[0-9A-Fa-f]{6}))?(?:,(round|square))?$"));
        const QRegularExpressionMatch match = form.match(value);
        if (!match.hasMatch())
            throw UsageError(QStringLiteral("--outline takes N[:RRGGBB][,round|,square], not '%1'").arg(value));
        const int size = numberIn(kOutline, match.captured(1), 0, text::kMaxOutline);
        effects.outline.reset();
        if (size > 0)
            effects.outline = text::OutlineEffect{
                size, match.captured(3) == QLatin1String("round") ? text::OutlineShape::Round : text::OutlineShape::Square,
                colourOf(match, 2)};
    }
    if (line.isSet(kShadow)) {
        const QRegularExpressionMatch match =
            matchOf(line, kShadow, QStringLiteral("(-?\\d+),(-?\\d+)"), QStringLiteral("DX,DY[:RRGGBB]"));
        const int limit = text::kMaxShadowOffset;
        effects.shadow = text::ShadowEffect{numberIn(kShadow, match.captured(1), -limit, limit),
                                            numberIn(kShadow, match.captured(2), -limit, limit),
                                            colourOf(match, 3)};
    }
    if (line.isSet(kPlate)) {
        const QRegularExpressionMatch match = matchOf(line, kPlate, QStringLiteral("(\\d+)"), QStringLiteral("PAD[:RRGGBB]"));
        effects.plate = text::PlateEffect{numberIn(kPlate, match.captured(1), 0, text::kMaxPlatePadding),
                                          colourOf(match, 2)};
    }
    return effects;
}

}  // namespace letterloom::cli
