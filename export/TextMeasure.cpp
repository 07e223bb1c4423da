#include "export/TextMeasure.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cmath>
#include <memory>

// The windows program measures with Qt's font engine on the display and the unattended one
// without any display; both must arrive at the same widths, or their files differ. So this
// follows the choices Qt's fontconfig/FreeType engine makes: the pixel size rounded to whole
// pixels, the hint style fontconfig gives the face at that size, the unhinted (design) advance
// for no and slight hinting, the hinted advance rounded by FreeType otherwise, and synthetic
// bold where the face has no bold of its own.

namespace {

constexpr double Dpi = 96;

enum class Hinting { None, Slight, Medium, Full };

struct FaceChoice {
    QByteArray file;
    int index = 0;
    Hinting hinting = Hinting::Slight;
    bool autohint = false;
};

struct Key {
    QString family;
    int points;
    bool bold;
    char16_t letter;
    bool operator==(const Key &) const = default;
};

size_t qHash(const Key &k, size_t seed)
{
    return qHashMulti(seed, k.family, k.points, k.bold, k.letter);
}

// The pixel size the display asks the font engine for: points at 96 dpi, to two decimals,
// then to a whole pixel.
int pixelSizeOf(int points)
{
    const double exact = std::floor(points * Dpi / 72 * 100 + 0.5) / 100;
    return int(std::lround(exact));
}

// The face fontconfig matches for the family, weight and size; a family that lacks the letter
// loses to one that has it, as the desktop's fallback does.
FaceChoice matchFace(const QString &family, int pixelSize, bool bold, char16_t letter)
{
    FaceChoice choice;
    FcPattern *pattern = FcPatternCreate();
    const QByteArray name = family.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.constData()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, pixelSize);
    FcCharSet *chars = FcCharSetCreate();
    FcCharSetAddChar(chars, letter);
    FcPatternAddCharSet(pattern, FC_CHARSET, chars);
    FcCharSetDestroy(chars);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return choice;
    FcChar8 *file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
        choice.file = reinterpret_cast<const char *>(file);
    FcPatternGetInteger(match, FC_INDEX, 0, &choice.index);
    FcBool hinting = FcTrue;
    FcPatternGetBool(match, FC_HINTING, 0, &hinting);
    int style = FC_HINT_SLIGHT;
    FcPatternGetInteger(match, FC_HINT_STYLE, 0, &style);
    choice.hinting = !hinting || style == FC_HINT_NONE ? Hinting::None
                     : style == FC_HINT_SLIGHT         ? Hinting::Slight
                     : style == FC_HINT_MEDIUM         ? Hinting::Medium
                                                       : Hinting::Full;
    FcBool autohint = FcFalse;
    FcPatternGetBool(match, FC_AUTOHINT, 0, &autohint);
    choice.autohint = autohint;
    FcPatternDestroy(match);
    return choice;
}

struct LibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};

// Rounds a 26.6 value half up to whole pixels, as the display rounds advances.
int roundPixels(FT_Pos value)
{
    return int((value + 32) >> 6);
}

int measure(FT_Library library, const FaceChoice &choice, int pixelSize, bool bold, char16_t letter)
{
    FT_Face raw = nullptr;
    if (choice.file.isEmpty() || FT_New_Face(library, choice.file.constData(), choice.index, &raw))
        return 0;
    const std::unique_ptr<FT_FaceRec_, FaceDeleter> face(raw);
    if (FT_IS_SCALABLE(raw)) {
        if (FT_Set_Char_Size(raw, 0, FT_F26Dot6(pixelSize) * 64, 0, 0))
            return 0;
    } else if (raw->num_fixed_sizes > 0) {
        // A bitmap font: the strike nearest the size, as the engine picks it.
        int best = 0;
        for (int i = 1; i < raw->num_fixed_sizes; ++i)
            if (std::abs(raw->available_sizes[i].height - pixelSize) <
                std::abs(raw->available_sizes[best].height - pixelSize))
                best = i;
        if (FT_Select_Size(raw, best))
            return 0;
    }
    const FT_UInt glyph = FT_Get_Char_Index(raw, letter);
    const bool design = FT_IS_SCALABLE(raw) &&
                        (choice.hinting == Hinting::None || choice.hinting == Hinting::Slight);
    if (design) {
        if (FT_Load_Glyph(raw, glyph, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP))
            return 0;
        return roundPixels(raw->glyph->linearHoriAdvance >> 10); // 16.16 to 26.6
    }
    FT_Int32 flags = FT_LOAD_TARGET_NORMAL;
    if (choice.autohint)
        flags |= FT_LOAD_FORCE_AUTOHINT;
    if (FT_Load_Glyph(raw, glyph, flags))
        return 0;
    if (bold && !(raw->style_flags & FT_STYLE_FLAG_BOLD) && !FT_IS_FIXED_WIDTH(raw) &&
        raw->glyph->format == FT_GLYPH_FORMAT_OUTLINE)
        FT_GlyphSlot_Embolden(raw->glyph);
    return roundPixels(raw->glyph->advance.x);
}

} // namespace

int CharPixelWidth(const QString &Family, int PointSize, bool Bold, QChar Letter)
{
    static QMutex mutex;
    static QHash<Key, int> cache;
    static std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library;

    const Key key{Family, PointSize, Bold, Letter.unicode()};
    const QMutexLocker lock(&mutex);
    if (const auto found = cache.constFind(key); found != cache.cend())
        return *found;
    if (!library) {
        FT_Library raw = nullptr;
        if (FT_Init_FreeType(&raw) == 0)
            library.reset(raw);
    }
    const int pixelSize = pixelSizeOf(PointSize);
    int width = 0;
    if (library && pixelSize > 0)
        width = measure(library.get(), matchFace(Family, pixelSize, Bold, key.letter), pixelSize,
                        Bold, key.letter);
    width = std::max(1, width);
    cache.insert(key, width);
    return width;
}
