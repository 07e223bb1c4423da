#include "export/XlsFormat.h"

bool TxlsFormat::isDefault() const
{
    const TxlsFill plainFill{TxlsColor::White, TxlsPattern::None, TxlsColor::White};
    return FFont == TxlsFont{} && FBorders == TxlsBorders{} && FFill == plainFill &&
           FHorizontal == TxlsHorizontal::General && FVertical == TxlsVertical::Bottom && !FWrap;
}
