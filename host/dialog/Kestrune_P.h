#pragma once

#include "host/controls/Command.h"
#include "host/dialog/control_array.h"
#include "host/forms/combo_box.h"
#include "host/forms/form.h"
#include "host/forms/forms_types.h"
#include "host/forms/image_control.h"
#include "host/forms/label.h"
#include "host/forms/picture.h"
#include "host/forms/picture_box.h"
#include "host/forms/shape.h"
#include "host/forms/system_services.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrune {

// The window services the dialog asks of the desktop: the file chooser, the
// message box and the opening of its link. The dialog is made with the
// desktop's own; a test hands in its stand-ins, since each of them would
// otherwise wait for a person.
struct SettingsDialogServices {
    std::function<std::optional<std::string>(const forms::Form&, const forms::OpenFileOptions&)>
        chooseFile = forms::ChooseFileToOpen;
    std::function<void(const std::string&)> showMessage = forms::ShowMessageBox;
    std::function<bool(const forms::Form&, const std::string&)> openDocument = forms::OpenDocument;
};

// Where the dialog keeps the choice and where its link points.
struct SettingsDialogPlace {
    std::string settingsFile;  // Kestrune.ini
    std::string programFolder; // where the README lies beside the programs
};

// The settings dialog "<Kestrune>": the choice of background music (none, an
// audio CD with a track to repeat, or an MP3 or WAV file), saved to the
// settings file by "設定" and dropped by "ｷｬﾝｾﾙ". It shows and changes the
// settings variables of Kestrune_B in place.
class Kestrune_P : public forms::Form {
public:
    // Also the mark of a running copy for the start-up's single-instance guard.
    static constexpr const char* kCaption = "<Kestrune>";

    explicit Kestrune_P(SettingsDialogPlace place, SettingsDialogServices services = {});
    ~Kestrune_P() override;

    // The controls, by their names in the layout. The panel holds everything
    // down to the file name; the credit line, the link and the two buttons sit
    // on the window.
    forms::PictureBox Pic_C;
    forms::Shape Shape3;
    ControlArray<forms::Label> lbl;            // 7 credit line, 14 track caption, 15 "BGM"
    ControlArray<forms::ImageControl> Img_BGM; // the marks, by music choice
    ControlArray<forms::Label> lbl_BGM;        // their labels
    forms::ComboBox BGM_Repeat;
    ControlArray<Command> Cmd_File;
    ControlArray<forms::Label> lbl_Fname;
    Command Cmd_Set;
    Command Cmd_Can;
    forms::Label lbl_URL;

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(bool& cancel) override;

private:
    void Img_BGM_MouseDown(int index, forms::MouseButton button, forms::ShiftState shift, int x,
                           int y);
    void lbl_BGM_MouseDown(int index, forms::MouseButton button, forms::ShiftState shift, int x,
                           int y);
    void Cmd_File_Click(int index);
    void Cmd_Set_Click();
    void Cmd_Can_Click();
    void lbl_URL_Click();

    void ChooseMusic(int index);
    void ShowMarks();
    void SetCommandButtons(bool initialize, bool enable);
    void TilePicture(forms::PictureBox& target);

    SettingsDialogPlace m_place;
    SettingsDialogServices m_services;
    Picture m_texture; // Pic_Mbl: the panel's grain
    Picture m_markOff; // Img_Ra(0): a choice that is not selected
    Picture m_markOn;  // Img_Ra(1): the selected choice
    forms::MonoCursor m_hand;
    forms::Point m_cursorAtOpening;
    std::vector<Command*> m_commands;
};

// Shows the settings dialog modally, with the program's own settings file,
// and returns when it is closed.
void ShowSettingsDialog();

} // namespace kestrune
