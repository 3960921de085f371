#pragma once

#include <memory>

#include "editor/EditPrompts.h"

namespace lumavox {

class TStpPropDlg;
class TStpTimeDlg;

// The edit commands' prompts with the program's step colour and step time dialogs: the colour
// dialog runs modally with the given caption; the time dialog's out-of-range typing comes back as
// a time beyond int32 so that the command refuses it with the beep.
std::unique_ptr<QtEditPrompts> MakeEditPrompts(QWidget* window, TStpPropDlg& colourDialog,
                                               TStpTimeDlg& timeDialog);

}  // namespace lumavox
