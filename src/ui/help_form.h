#pragma once

#include "core/text.h"
#include "ui/controls.h"

namespace tunewick {

// The help window's fixed text, lines joined by CR LF.
Text HelpText();

class HelpFormHost {
  public:
    virtual ~HelpFormHost() = default;
    virtual void Close() = 0;  // closes (unloads) the help window
};

// The help window (Form2).
class HelpForm {
  public:
    HelpForm(TextBox& Text1, HelpFormHost& host);

    HelpForm(const HelpForm&) = delete;
    HelpForm& operator=(const HelpForm&) = delete;

    void Form_Load();       // fills Text1 with HelpText()
    void Command1_Click();  // "OK": closes the window

  private:
    TextBox& text1_;
    HelpFormHost& host_;
};

}  // namespace tunewick
