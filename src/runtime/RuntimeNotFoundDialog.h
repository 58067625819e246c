#pragma once

#include "base/Text.h"
#include "runtime/RuntimeFitness.h"
#include "ui/HyperlinkControl.h"

#include <windows.h>

enum class JvmType : int;

// Picks a folder for the dialog's Browse button: true and the folder's path
// as the picker gives it, or false when the user cancelled. The launcher uses
// the shell's folder browser; tests put in pickers that answer at once.
using FolderPicker = bool (*)(HWND owner, String& folder);
// Returns the previous picker; null puts the shell's browser back.
FolderPicker SetFolderPicker(FolderPicker picker);

// The shell's folder browser titled with string 214, file-system folders
// only, new-style, without a "new folder" button.
bool BrowseForRuntimeFolder(HWND owner, String& folder);

// The modal dialog shown when no runtime was found: it names the required
// version, links to a download page and lets the user browse to a runtime
// home. OK is possible only while the last folder picked holds a JVM library
// of the requested type that meets needs; for one that does not, the message
// line says why until another folder is picked.
class RuntimeNotFoundDialog {
public:
    RuntimeNotFoundDialog(const String& message, JvmType jvmType, const RuntimeNeeds& needs = RuntimeNeeds())
        : m_message(message), m_jvmType(jvmType), m_needs(needs)
    {
    }
    RuntimeNotFoundDialog(const RuntimeNotFoundDialog&) = delete;
    RuntimeNotFoundDialog& operator=(const RuntimeNotFoundDialog&) = delete;

    // The download page the link shows and opens ("Download URL"); empty
    // keeps the template's.
    void SetDownloadUrl(const String& url) { m_downloadUrl = url; }

    // IDOK or IDCANCEL; a dialog that cannot be shown counts as cancelled.
    INT_PTR Show(HWND owner);

    // The last folder picked, ending in "\"; empty until one is picked.
    const String& ChosenFolder() const { return m_chosenFolder; }
    // The JVM library under it; empty when it has none that can be used.
    const String& ChosenJvmLibrary() const { return m_chosenJvmLibrary; }

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void FitLinkToText(HWND link, HFONT font);
    void OnBrowse();

    HWND m_dialog = nullptr;
    String m_message;
    String m_downloadUrl;
    JvmType m_jvmType;
    RuntimeNeeds m_needs;
    String m_chosenFolder;
    String m_chosenJvmLibrary;
    HyperlinkControl m_link;
};
