#pragma once

#include "export/QExport4.h"
#include "export/RtfWriter.h"

#include <QStringList>

enum TrtfAlignment { talLeft, talRight, talCenter, talFill };

struct TrtfStyle {
    TrtfFont FFont;
    TrtfColor FBackgroundColor = rtfWhite;
    TrtfColor FHighlightColor = rtfWhite;
    bool FAllowHighlight = true;
    bool FAllowBackground = true;
    TrtfAlignment FAlignment = talLeft;
};

enum TrtfPageOrientation { poPortrait, poLandscape };

struct TRTFOptions {
    TRTFOptions();

    // "Field<k>=C" or "=R" (anything else is left) overrides the caption alignment of column k.
    QStringList FCaptionAligns;
    TrtfStyle FCaptionStyle; // the data style, bold and centred
    TrtfStyle FDataStyle;
    TrtfStyle FHeaderStyle;
    TrtfStyle FFooterStyle;
    TrtfPageOrientation FPageOrientation = poPortrait;
};

// The six control-word strings of a style; colours and fonts not yet in the tables are added.
struct TrtfStyleStrs {
    QByteArray Alignment, Font, Color, Styles, Background, Highlight;
};
TrtfStyleStrs StyleToStrs(TQRTFWriter &writer, const TrtfStyle &style);

// Writes an export model as an RTF document: the title lines as paragraphs around one
// bordered table of a caption row and the data rows, streamed as they come.
class TQExport4RTF : public TQExport4 {
public:
    TRTFOptions FOptions;

    // Raises EQExportError; a partly written file stays on disk.
    void Execute(const TExportModel &model);

private:
    void BeginExport(TQRTFWriter &w, const TExportModel &model);
    void WriteCaptionRow(TQRTFWriter &w, const TExportModel &model);
    void EndExport(TQRTFWriter &w, const TExportModel &model);
    static void WriteTitleGroup(TQRTFWriter &w, const QStringList &lines, const TrtfStyleStrs &s);
};
