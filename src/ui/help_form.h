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

// The help window.
class HelpForm {
  public:
    HelpForm(TextBox& helpText, HelpFormHost& host);

    HelpForm(const HelpForm&) = delete;
    HelpForm& operator=(const HelpForm&) = delete;

    void Load();     // fills the text box with HelpText()
    void Dismiss();  // "OK": closes the window

  private:
    TextBox& helpText_;
    HelpFormHost& host_;
};

}  // namespace tunewick
