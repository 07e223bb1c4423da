#include "export/QExport4RTF.h"

#include "export/ExportFile.h"

#include <QDir>
#include <QFile>

TRTFOptions::TRTFOptions()
{
    FCaptionStyle.FFont.FStyle = rfsBold;
    FCaptionStyle.FAlignment = talCenter;
}

TrtfStyleStrs StyleToStrs(TQRTFWriter &w, const TrtfStyle &style)
{
    TrtfStyleStrs s;
    s.Alignment = style.FAlignment == talRight    ? "\\qr"
                  : style.FAlignment == talCenter ? "\\qc"
                  : style.FAlignment == talFill   ? "\\qj"
                                                  : "\\ql";
    s.Font = w.SetFont(style.FFont, false);
    s.Color = w.GetColorText(style.FFont.FColor, ctText);
    const quint8 f = style.FFont.FStyle;
    s.Styles = QByteArray(f & rfsBold ? "\\b" : "") + (f & rfsItalic ? "\\i" : "") +
               (f & rfsUnderline ? "\\ul" : "") + (f & rfsStrikeOut ? "\\strike" : "");
    if (style.FAllowBackground)
        s.Background = w.GetColorText(style.FBackgroundColor, ctBackground);
    if (style.FAllowHighlight)
        s.Highlight = w.GetColorText(style.FHighlightColor, ctHighlight);
    return s;
}

namespace {

const QByteArray CellStart = QByteArrayLiteral("\\pard\\intbl\\li30\\ri30");

QByteArray captionAlignment(const TRTFOptions &o, qsizetype column)
{
    const QString prefix = QStringLiteral("Field%1=").arg(column);
    for (const QString &entry : o.FCaptionAligns)
        if (entry.startsWith(prefix, Qt::CaseInsensitive)) {
            const QString letter = entry.mid(prefix.size()).toUpper();
            return TQRTFWriter::AlignToStr(letter == u"C"   ? ecaCenter
                                           : letter == u"R" ? ecaRight
                                                            : ecaLeft);
        }
    return TQRTFWriter::AlignToStr(o.FCaptionStyle.FAlignment == talRight    ? ecaRight
                                   : o.FCaptionStyle.FAlignment == talCenter ? ecaCenter
                                                                             : ecaLeft);
}

} // namespace

void TQExport4RTF::WriteTitleGroup(TQRTFWriter &w, const QStringList &lines, const TrtfStyleStrs &s)
{
    w.WriteLn('{' + s.Alignment + s.Background + (s.Background.isEmpty() ? "" : " "));
    const QByteArray look = s.Font + s.Color + s.Styles;
    for (const QString &line : lines) {
        w.WriteLn('{' + s.Highlight + look + (look.isEmpty() ? "" : " ") + rtfEscape(line, false) +
                  '}');
        w.WritePara();
    }
    w.WriteLn("}");
}

void TQExport4RTF::BeginExport(TQRTFWriter &w, const TExportModel &model)
{
    w.WriteBOF();
    w.WriteHeader();
    w.FFontTable = {{0, QStringLiteral("nil"), FOptions.FCaptionStyle.FFont.FName},
                    {1, QStringLiteral("nil"), FOptions.FDataStyle.FFont.FName}};
    w.WriteFontTable();
    w.FColorTable = {{0, 0, 0}};
    w.WriteColorTable();
    w.SetFont(FOptions.FDataStyle.FFont, true);
    if (FOptions.FPageOrientation == poLandscape) {
        w.WriteLn("\\landscape");
        w.WriteLn("\\paperw16838");
        w.WriteLn("\\paperh11906");
    } else {
        w.WriteLn("\\paperw11906");
        w.WriteLn("\\paperh16838");
    }
    const TrtfStyleStrs header = StyleToStrs(w, FOptions.FHeaderStyle);
    if (!model.Header.isEmpty())
        WriteTitleGroup(w, model.Header, header);
    w.WritePara();
    w.WriteLn("\\trowd\\trql\\trgaph0\\trleft36");
    qint64 edge = 36;
    for (const TExportColumn &column : model.Columns) {
        edge += qint64(column.FWidth) * model.XWidth * 15 + 10;
        w.WriteLn("\\clbrdrl\\brdrth \\clbrdrr\\brdrth \\clbrdrt\\brdrth \\clbrdrb\\brdrth");
        w.WriteLn("\\cellx" + QByteArray::number(edge));
    }
}

void TQExport4RTF::WriteCaptionRow(TQRTFWriter &w, const TExportModel &model)
{
    w.SetFont(FOptions.FCaptionStyle.FFont, true);
    const TrtfStyleStrs s = StyleToStrs(w, FOptions.FCaptionStyle);
    QByteArray line;
    for (qsizetype i = 0; i < model.Columns.size(); ++i)
        line += CellStart + s.Background + captionAlignment(FOptions, i) + '{' + s.Highlight +
                s.Font + s.Color + s.Styles + ' ' + rtfEscape(model.Columns[i].FCaption, false) +
                "}\\cell";
    w.WriteLn(line + "\\row");
}

void TQExport4RTF::EndExport(TQRTFWriter &w, const TExportModel &model)
{
    w.WriteLn("\\pard");
    const TrtfStyleStrs footer = StyleToStrs(w, FOptions.FFooterStyle);
    if (!model.Footer.isEmpty()) {
        w.WritePara();
        WriteTitleGroup(w, model.Footer, footer);
    }
    w.WriteEOF();
}

void TQExport4RTF::Execute(const TExportModel &model)
{
    const QString path = PrepareOutputPath(model.FileName);
    // Read and write: a late table entry moves what is already written. Beside the target
    // until complete, so a failure leaves no document under its name.
    TExportFile file(path, {EQExportError::RtfCannotCreate, EQExportError::RtfWriteFailed}, true);
    TQRTFWriter w(file.device());
    BeginExport(w, model);
    WriteCaptionRow(w, model);
    w.SetFont(FOptions.FDataStyle.FFont, true);
    const TrtfStyleStrs s = StyleToStrs(w, FOptions.FDataStyle);
    // String columns are left aligned.
    const QByteArray cellHead = CellStart + s.Background + s.Highlight +
                                TQRTFWriter::AlignToStr(ecaLeft) + '{' + s.Font + s.Color +
                                s.Styles + ' ';
    QStringList row;
    QByteArray line;
    while (model.Rows && model.Rows(row)) {
        line.clear();
        for (qsizetype i = 0; i < model.Columns.size(); ++i)
            line += cellHead +
                    rtfEscape(i < row.size() ? QStringView(row[i]) : QStringView(), true) +
                    "}\\cell";
        w.WriteLn(line + "\\row");
    }
    EndExport(w, model);
    file.commit();
}
