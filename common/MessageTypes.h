#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <initializer_list>

// Message types in their ordinal order.
enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons of a message box; the ordinal is the bit number in TMsgDlgButtons.
enum class TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp,
    mbClose
};

class TMsgDlgButtons {
public:
    TMsgDlgButtons() = default;
    TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons)
    {
        for (TMsgDlgBtn b : buttons)
            bits_ |= bit(b);
    }
    bool contains(TMsgDlgBtn b) const { return (bits_ & bit(b)) != 0; }
    std::uint32_t bits() const { return bits_; }

private:
    static std::uint32_t bit(TMsgDlgBtn b) { return std::uint32_t(1) << int(b); }
    std::uint32_t bits_ = 0;
};

// Results of the buttons (what MyMessageDlg returns).
enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrClose = 8,
    mrAll = 12,
    mrNoToAll = 13,
    mrYesToAll = 14
};

QString MsgDlgTitle(TMsgDlgType type);
QString MsgDlgButtonCaption(TMsgDlgBtn button);
// The result of a button; mrNone for help, which does not close the box.
int MsgDlgButtonResult(TMsgDlgBtn button);
// The buttons of the set in ordinal order.
QList<TMsgDlgBtn> MsgDlgButtonList(TMsgDlgButtons buttons);
