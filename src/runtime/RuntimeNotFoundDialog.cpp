#include "runtime/RuntimeNotFoundDialog.h"

#include "base/GdiScope.h"
#include "base/ResourceText.h"
#include "base/SystemFunction.h"
#include "base/UniqueResource.h"
#include "res/resource.h"
#include "runtime/JvmLibrary.h"
#include "ui/DialogCentring.h"
#include "ui/DialogTextFit.h"

#include <shlobj.h>

namespace {

FolderPicker g_picker = BrowseForRuntimeFolder;

// The inner right edge of the group box around the link, in dialog units
// (the box ends at 211; its frame and a margin take 4).
constexpr LONG kGroupInnerRight = 207;

// The shell and COM calls of the folder browser, loaded when Browse is first
// pressed: most launches never show it.
struct BrowserFunctions {
    using CoInitializeExFunction = HRESULT(WINAPI*)(void*, DWORD);
    using CoUninitializeFunction = void(WINAPI*)();
    using CoTaskMemFreeFunction = void(WINAPI*)(void*);
    using BrowseFunction = PIDLIST_ABSOLUTE(WINAPI*)(BROWSEINFOW*);
    using PathFunction = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, wchar_t*);

    CoInitializeExFunction coInitializeEx = GetSystemFunction<CoInitializeExFunction>(L"ole32.dll", "CoInitializeEx");
    CoUninitializeFunction coUninitialize = GetSystemFunction<CoUninitializeFunction>(L"ole32.dll", "CoUninitialize");
    CoTaskMemFreeFunction coTaskMemFree = GetSystemFunction<CoTaskMemFreeFunction>(L"ole32.dll", "CoTaskMemFree");
    BrowseFunction browse = GetSystemFunction<BrowseFunction>(L"shell32.dll", "SHBrowseForFolderW");
    PathFunction path = GetSystemFunction<PathFunction>(L"shell32.dll", "SHGetPathFromIDListW");

    bool Complete() const { return coInitializeEx && coUninitialize && coTaskMemFree && browse && path; }
};

// The shell's item list of the folder picked, freed with the COM allocator.
class ItemIdList {
public:
    ItemIdList(PIDLIST_ABSOLUTE list, BrowserFunctions::CoTaskMemFreeFunction free) : m_list(list), m_free(free) {}
    ~ItemIdList()
    {
        if (m_list)
            m_free(m_list);
    }
    ItemIdList(const ItemIdList&) = delete;
    ItemIdList& operator=(const ItemIdList&) = delete;
    PIDLIST_ABSOLUTE get() const { return m_list; }

private:
    PIDLIST_ABSOLUTE m_list;
    BrowserFunctions::CoTaskMemFreeFunction m_free;
};

// The new-style browser needs COM on this thread; a thread that already has
// it keeps its own apartment.
class ComApartment {
public:
    explicit ComApartment(const BrowserFunctions& functions)
        : m_uninitialize(functions.coUninitialize),
          m_initialized(SUCCEEDED(functions.coInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
    {
    }
    ~ComApartment()
    {
        if (m_initialized)
            m_uninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    BrowserFunctions::CoUninitializeFunction m_uninitialize;
    bool m_initialized;
};

}  // namespace

FolderPicker SetFolderPicker(FolderPicker picker)
{
    FolderPicker previous = g_picker;
    g_picker = picker ? picker : BrowseForRuntimeFolder;
    return previous;
}

bool BrowseForRuntimeFolder(HWND owner, String& folder)
{
    static const BrowserFunctions functions;
    if (!functions.Complete())
        return false;
    ComApartment com(functions);
    String title = LoadResourceString(IDS_BROWSE_TITLE);
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW browse = {};
    browse.hwndOwner = owner;
    browse.pidlRoot = nullptr;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = title.CStr();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
    ItemIdList picked(functions.browse(&browse), functions.coTaskMemFree);
    if (!picked.get())
        return false;
    wchar_t* path = folder.GetBuffer(MAX_PATH);
    path[0] = 0;
    if (!functions.path(picked.get(), path)) {
        folder.SetLength(0);
        return false;
    }
    folder.SetLengthToTerminator();
    return true;
}

INT_PTR RuntimeNotFoundDialog::Show(HWND owner)
{
    INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_RUNTIME_NOT_FOUND), owner,
                                     DialogProc, reinterpret_cast<LPARAM>(this));
    return result == IDOK ? IDOK : IDCANCEL;
}

INT_PTR CALLBACK RuntimeNotFoundDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    RuntimeNotFoundDialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<RuntimeNotFoundDialog*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        self->m_dialog = dialog;
    } else {
        self = reinterpret_cast<RuntimeNotFoundDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    }
    if (!self)
        return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
        self->m_dialog = nullptr;
        return FALSE;
    }
    return self->HandleMessage(message, wParam, lParam);
}

INT_PTR RuntimeNotFoundDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_BROWSE:
            OnBrowse();
            return TRUE;
        case IDOK:
            // Enter, or a command sent by another program, reaches here even
            // while the button is disabled; without a library there is
            // nothing to go on with.
            if (!m_chosenJvmLibrary.IsEmpty())
                EndDialog(m_dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(m_dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

void RuntimeNotFoundDialog::OnInitDialog()
{
    HWND linkWindow = GetDlgItem(m_dialog, IDC_DOWNLOAD_LINK);
    if (!m_downloadUrl.IsEmpty())
        SetWindowTextW(linkWindow, m_downloadUrl.CStr());
    // The link is drawn, and so measured, in the dialog's font.
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageW(m_dialog, WM_GETFONT, 0, 0));
    FitLinkToText(linkWindow, dialogFont);
    if (!m_link.HasNormalFont())
        m_link.SetNormalFont(dialogFont);
    m_link.Attach(linkWindow);
    SetDlgItemTextW(m_dialog, IDC_MESSAGE, m_message.CStr());
    // A long requirement (a server runtime between two four-part versions)
    // takes a line more than the template gives the message.
    GrowControlForText(m_dialog, IDC_MESSAGE);
    EnableWindow(GetDlgItem(m_dialog, IDOK), FALSE);
    CentreDialog(m_dialog);
}

// The link is as wide as its text, up to the inner edge of the group box
// around it, so that neither the template's address nor a longer one of
// "Download URL" is cut while there is room. The width measured is taken
// with one average character to spare: the underlined face the link is drawn
// in may come out a little wider than the dialog's.
void RuntimeNotFoundDialog::FitLinkToText(HWND link, HFONT font)
{
    RECT bounds = {0, 0, kGroupInnerRight, 0};
    RECT spare = {0, 0, 4, 0};  // four horizontal dialog units: one average character
    if (!link || !MapDialogRect(m_dialog, &bounds) || !MapDialogRect(m_dialog, &spare))
        return;
    RECT place = ClientRectOf(link, m_dialog);
    int length = GetWindowTextLengthW(link);
    String text;
    text.SetLength(GetWindowTextW(link, text.GetBuffer(length), length + 1));
    WindowDc dc(link);
    if (!dc.get())
        return;
    SelectionScope selected(dc.get(), font);
    RECT measured = {0, 0, 0, 0};
    DrawTextW(dc.get(), text.CStr(), text.Length(), &measured, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    LONG width = measured.right + spare.right;
    if (place.left + width > bounds.right)
        width = bounds.right - place.left;
    SetWindowPos(link, nullptr, 0, 0, width, place.bottom - place.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RuntimeNotFoundDialog::OnBrowse()
{
    String picked;
    if (!g_picker(m_dialog, picked) || picked.IsEmpty())
        return;
    SetDlgItemTextW(m_dialog, IDC_JRE_PATH, picked.CStr());
    m_chosenFolder = picked;
    if (m_chosenFolder.Last() != L'\\')
        m_chosenFolder += L'\\';
    bool isServer = false;
    m_chosenJvmLibrary = FindJvmLibrary(m_chosenFolder, m_jvmType, isServer);
    String line = m_message;
    if (!m_chosenJvmLibrary.IsEmpty()) {
        RuntimeFacts facts = ReadRuntimeFacts(m_chosenFolder, m_chosenJvmLibrary);
        RuntimeFitness fitness = JudgeRuntime(facts, m_needs);
        if (fitness != RuntimeFitness::Usable) {
            line = DescribeUnfitRuntime(fitness, facts, m_needs);
            m_chosenJvmLibrary.Clear();
        }
    }
    SetDlgItemTextW(m_dialog, IDC_MESSAGE, line.CStr());
    HWND ok = GetDlgItem(m_dialog, IDOK);
    EnableWindow(ok, !m_chosenJvmLibrary.IsEmpty());
}
