#include "LauncherMessages.h"

#include "DialogFit.h"
#include "MessageFormat.h"

#include "res/resource.h"

namespace {

constexpr unsigned kBlockSize = 16;
// The version a requirement phrase is measured with (as long as "17.0.10").
const wchar_t kSampleVersion[] = L"17.0.10";

std::wstring Where(const MessageText& entry)
{
    return L"line " + std::to_wstring(entry.line) + L": ";
}

std::wstring ConversionList(const std::wstring& text)
{
    std::wstring list;
    for (const std::wstring& conversion : Conversions(text))
        list += (list.empty() ? L"" : L", ") + conversion;
    return list.empty() ? L"none" : list;
}

bool ReplaceStrings(const std::vector<StringText>& strings, std::vector<StoredResource>& resources,
                    std::wstring& reason)
{
    for (const StringText& string : strings) {
        bool found = false;
        for (StoredResource& resource : resources) {
            std::vector<std::wstring> texts;
            if (!resource.type.Is(kTypeString) || !resource.name.Is(static_cast<uint16_t>(string.id / kBlockSize + 1)))
                continue;
            if (!ReadStringBlock(resource.data, texts)) {
                reason = L"the launcher's string block " + std::to_wstring(string.id / kBlockSize + 1) + L" is damaged";
                return false;
            }
            std::wstring& text = texts[string.id % kBlockSize];
            if (text.empty())
                continue;
            if (!KeepsConversions(text, string.text)) {
                reason = Where(string) + L"string " + std::to_wstring(string.id) + L" " + QuotedText(string.text) +
                         L" must hold the conversions of the built-in text " + QuotedText(text) + L" in their order (" +
                         ConversionList(text) + L") and no others; it holds " + ConversionList(string.text) +
                         L" (write %% for a percent sign)";
                return false;
            }
            text = string.text;
            resource.data = BuildStringBlock(texts);
            found = true;
        }
        if (!found) {
            reason = Where(string) + L"the launcher has no string " + std::to_wstring(string.id);
            return false;
        }
    }
    return true;
}

// The string's text in the first language that has it; empty when none does.
std::wstring TableText(const std::vector<StoredResource>& resources, unsigned id)
{
    for (const StoredResource& resource : resources) {
        std::vector<std::wstring> texts;
        if (resource.type.Is(kTypeString) && resource.name.Is(static_cast<uint16_t>(id / kBlockSize + 1)) &&
            ReadStringBlock(resource.data, texts) && !texts[id % kBlockSize].empty())
            return texts[id % kBlockSize];
    }
    return std::wstring();
}

// The longest message the runtime dialog's message control can receive.
std::wstring LongestRuntimeMessage(const std::vector<StoredResource>& resources, int width)
{
    std::wstring longest;
    for (unsigned format : {IDS_NO_SERVER_JRE, IDS_NO_JRE})
        for (unsigned phrase = IDS_VERSION_LATEST; phrase <= IDS_VERSION_RANGE; ++phrase) {
            std::wstring requirement = FillConversions(TableText(resources, phrase), kSampleVersion);
            std::wstring message = FillConversions(TableText(resources, format), requirement);
            if (EstimatedTextHeight(message, width) > EstimatedTextHeight(longest, width))
                longest = message;
        }
    return longest;
}

// The index of the control a key names; false with the reason.
bool FindControl(const DialogTemplate& dialog, uint16_t dialogId, const DialogText& entry, size_t& index,
                 std::wstring& reason)
{
    std::vector<size_t> matches;
    for (size_t i = 0; i < dialog.controls.size(); ++i)
        if (dialog.controls[i].id == entry.control.id)
            matches.push_back(i);
    std::wstring id = std::to_wstring(entry.control.id), name = L"dialog " + std::to_wstring(dialogId);
    if (matches.empty() || entry.control.occurrence > matches.size()) {
        reason = Where(entry) + name + L" has no control " + entry.key;
        return false;
    }
    if (entry.control.occurrence == 0 && matches.size() > 1) {
        reason = Where(entry) + name + L" has " + std::to_wstring(matches.size()) + L" controls with id " + id +
                 L": name them " + id + L".1 to " + id + L"." + std::to_wstring(matches.size());
        return false;
    }
    index = matches[entry.control.occurrence ? entry.control.occurrence - 1 : 0];
    if (dialog.controls[index].title.isOrdinal) {
        reason = Where(entry) + L"control " + entry.key + L" of " + name + L" shows a picture, not a text";
        return false;
    }
    return true;
}

bool ReplaceDialogTexts(const std::vector<DialogText>& texts, uint16_t dialogId, std::vector<StoredResource>& resources,
                        std::wstring& reason)
{
    for (StoredResource& resource : resources) {
        if (!resource.type.Is(kTypeDialog) || !resource.name.Is(dialogId))
            continue;
        DialogTemplate dialog;
        if (!ParseDialogTemplate(resource.data, dialog)) {
            reason = L"the launcher's dialog " + std::to_wstring(dialogId) + L" is not an extended dialog template";
            return false;
        }
        std::vector<bool> replaced(dialog.controls.size() + 1);  // the last one: the caption
        for (const DialogText& entry : texts) {
            size_t index = dialog.controls.size();
            if (!entry.control.caption && !FindControl(dialog, dialogId, entry, index, reason))
                return false;
            if (replaced[index]) {
                reason = Where(entry) + entry.key + L" names a text of dialog " + std::to_wstring(dialogId) +
                         L" that an earlier key already replaces";
                return false;
            }
            replaced[index] = true;
            if (entry.control.caption)
                dialog.caption = entry.text;
            else
                dialog.controls[index].title.text = entry.text;
        }
        for (size_t i = 0; i < dialog.controls.size(); ++i) {
            const DialogControl& control = dialog.controls[i];
            if (!IsWrappedText(control))
                continue;
            std::wstring text = dialogId == IDD_RUNTIME_NOT_FOUND && control.id == IDC_MESSAGE
                                    ? LongestRuntimeMessage(resources, control.cx)
                                    : control.title.text;
            if (!GrowControl(dialog, i, EstimatedTextHeight(text, control.cx))) {
                reason = L"the texts of dialog " + std::to_wstring(dialogId) + L" are too long for a dialog";
                return false;
            }
        }
        resource.data = BuildDialogTemplate(dialog);
    }
    return true;
}

}  // namespace

bool ReadStringBlock(const Bytes& data, std::vector<std::wstring>& texts)
{
    texts.assign(kBlockSize, std::wstring());
    size_t at = 0;
    for (std::wstring& text : texts) {
        uint16_t length = 0;
        if (at == data.size())
            break;  // the rest of the block is absent
        if (!ReadU16(data, at, length) || (data.size() - at - 2) / 2 < length)
            return false;
        for (uint16_t i = 0; i < length; ++i)
            text += static_cast<wchar_t>(data[at + 2 + 2 * i] | (data[at + 3 + 2 * i] << 8));
        at += 2 + 2 * size_t(length);
    }
    return true;
}

Bytes BuildStringBlock(const std::vector<std::wstring>& texts)
{
    Bytes data;
    for (const std::wstring& text : texts) {
        PutU16(data, static_cast<uint16_t>(text.size()));
        for (wchar_t c : text)
            PutU16(data, static_cast<uint16_t>(c));
    }
    return data;
}

bool ApplyMessages(const MessagesFile& messages, std::vector<StoredResource>& resources, std::wstring& reason)
{
    std::vector<StoredResource> changed = resources;
    if (!ReplaceStrings(messages.strings, changed, reason) ||
        !ReplaceDialogTexts(messages.runtimeDialog, IDD_RUNTIME_NOT_FOUND, changed, reason) ||
        !ReplaceDialogTexts(messages.exceptionDialog, IDD_EXCEPTION, changed, reason))
        return false;
    resources.swap(changed);
    return true;
}
