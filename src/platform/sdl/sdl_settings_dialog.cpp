#include "platform/sdl/sdl_settings_dialog.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/answers.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_bindings.h"
#include "platform/sdl/sdl_dialog.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/sdl/sdl_outside_end.h"
#include "platform/sdl/sdl_window.h"

namespace {

constexpr int BoxWidth = 440;
constexpr int BoxHeight = 390;
constexpr int TabHeight = 24;
constexpr int RowHeight = 24;
constexpr int RowGap = 2;
constexpr int LabelInset = 10;
constexpr int ValueColumn = 140;  // from the row's left edge
constexpr int ResetButtonWidth = 130;
constexpr int ButtonGap = 8;
constexpr int SliderWidth = 200;
constexpr int SliderTrackHeight = 4;
constexpr int KnobWidth = 8;
constexpr int KnobHeight = 16;
constexpr int RotationChoiceWidth = 56;
constexpr int VolumeStep = 5;
constexpr int FullPercent = 100;
constexpr Uint32 CaptureTimeoutMs =
    5000;                    // a pad alone can always get out of a capture (the hint says 5)
constexpr int WakeMs = 250;  // the capture's time-out is looked at this often

constexpr uint32_t HotFill = 0xCCE8FF;
constexpr uint32_t HotBorder = 0x99D1FF;
constexpr uint32_t TrackColour = 0xB0B0B0;
constexpr uint32_t StatusColour = 0x404040;

constexpr std::array<int, 4> Rotations{0, 90, 180, 270};

enum class Page { Keys, Pad, Volume, Picture };
constexpr int PageCount = 4;
const char* PageCaption(Page page) {
    switch (page) {
        case Page::Keys:
            return "キーボード";
        case Page::Pad:
            return "パッド";
        case Page::Volume:
            return "音量";
        case Page::Picture:
            return "画面の向き";
    }
    return "";
}

const char* ActionCaption(Action action) {
    switch (action) {
        case Action::Up:
            return "上";
        case Action::Down:
            return "下";
        case Action::Left:
            return "左";
        case Action::Right:
            return "右";
        case Action::Fire:
            return "ショット";
        case Action::Choose:
            return "決定";
        case Action::Back:
            return "戻る";
        case Action::Pause:
            return "ポーズ";
    }
    return "";
}

// What the focus can rest on: the page tabs, a row of the page, the two buttons.
enum class Kind { Tabs, Binding, DeadZone, Music, Effects, Rotation, Reset, Close };
struct Item {
    Kind What = Kind::Tabs;
    Action Of = Action::Up;  // of a binding row
};

SoundLevels Levels;
bool SettingsAsked = false;
bool SettingsOpen = false;

struct Dialog {
    UiRect Box;
    Page Shown = Page::Keys;
    size_t Focus = 0;
    bool Capturing = false;  // waiting for the key or button of the focused row
    Uint32 CaptureStarted = 0;
    std::string Status;
    int Pressed = -1;  // the click target under the mouse press
    bool Finished = false;
    bool MusicHeldByPause = false;  // resumed on the volume page, to be heard
};

std::vector<Item> ItemsOf(Page page) {
    std::vector<Item> items{{Kind::Tabs}};
    switch (page) {
        case Page::Keys:
        case Page::Pad:
            for (const Action action : Actions) items.push_back({Kind::Binding, action});
            if (page == Page::Pad) items.push_back({Kind::DeadZone});
            break;
        case Page::Volume:
            items.push_back({Kind::Music});
            items.push_back({Kind::Effects});
            break;
        case Page::Picture:
            items.push_back({Kind::Rotation});
            break;
    }
    items.push_back({Kind::Reset});
    items.push_back({Kind::Close});
    return items;
}

Item Focused(const Dialog& dialog) {
    return ItemsOf(dialog.Shown)[dialog.Focus];
}

bool OnPad(const Dialog& dialog) {
    return dialog.Shown == Page::Pad;
}

// ---- where things are

UiRect TabRect(const Dialog& dialog, int page) {
    const int width = (dialog.Box.W - 2 * DialogMargin) / PageCount;
    return {dialog.Box.X + DialogMargin + page * width, dialog.Box.Y + DialogCaptionHeight + 8,
            width - 2, TabHeight};
}

UiRect RowRect(const Dialog& dialog, size_t item) {
    const int top = TabRect(dialog, 0).Y + TabHeight + DialogMargin;
    return {dialog.Box.X + DialogMargin, top + int(item - 1) * (RowHeight + RowGap),
            dialog.Box.W - 2 * DialogMargin, RowHeight};
}

UiRect ButtonRect(const Dialog& dialog, Kind kind) {
    const int top = dialog.Box.Y + dialog.Box.H - DialogMargin - DialogButtonHeight;
    if (kind == Kind::Reset)
        return {dialog.Box.X + DialogMargin, top, ResetButtonWidth, DialogButtonHeight};
    return {dialog.Box.X + dialog.Box.W - DialogMargin - DialogButtonWidth, top, DialogButtonWidth,
            DialogButtonHeight};
}

UiRect StatusRect(const Dialog& dialog) {
    const UiRect buttons = ButtonRect(dialog, Kind::Reset);
    return {dialog.Box.X + DialogMargin, buttons.Y - ButtonGap - RowHeight,
            dialog.Box.W - 2 * DialogMargin, RowHeight};
}

UiRect SliderRect(const UiRect& row) {
    return {row.X + ValueColumn, row.Y, SliderWidth, row.H};
}

UiRect RotationChoiceRect(const UiRect& row, size_t choice) {
    return {row.X + ValueColumn + int(choice) * (RotationChoiceWidth + 4), row.Y,
            RotationChoiceWidth, row.H};
}

// ---- values

int Volume(Kind kind) {
    int (*read)() = kind == Kind::Music ? Levels.musicVolume : Levels.effectsVolume;
    return read ? read() : FullPercent;
}

void SetVolume(Kind kind, int percent) {
    percent = std::clamp(percent / VolumeStep * VolumeStep, 0, FullPercent);
    if (kind == Kind::Music) {
        if (Levels.setMusicVolume) Levels.setMusicVolume(percent);
        return;
    }
    if (Levels.setEffectsVolume) Levels.setEffectsVolume(percent);
    if (Levels.playEffect) Levels.playEffect();
}

size_t RotationIndex() {
    const auto found = std::find(Rotations.begin(), Rotations.end(), PictureRotation());
    return found == Rotations.end() ? 0 : size_t(found - Rotations.begin());
}

void SetRotation(size_t index) {
    SetPictureRotation(Rotations[index]);
}

std::string DegreesText(int degrees) {
    return std::to_string(degrees) + "°";
}

// ---- the page shown, and the tune heard while its level changes

// A tune the pause holds plays on the volume page, so that its level is heard. The rendered tune
// plays through the mixer's music hook, which Mix_PlayingMusic does not count; it honours the
// mixer's music pause all the same.
void HearTheTune(Dialog& dialog, bool hear) {
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0) return;
    if (hear && !dialog.MusicHeldByPause && Mix_PausedMusic()) {
        Mix_ResumeMusic();
        dialog.MusicHeldByPause = true;
    } else if (!hear && dialog.MusicHeldByPause) {
        Mix_PauseMusic();
        dialog.MusicHeldByPause = false;
    }
}

void ShowPage(Dialog& dialog, int page) {
    dialog.Shown = Page((page + PageCount) % PageCount);
    dialog.Focus = 0;
    dialog.Capturing = false;
    dialog.Status.clear();
    HearTheTune(dialog, dialog.Shown == Page::Volume);
}

void MoveFocus(Dialog& dialog, int step) {
    const int count = int(ItemsOf(dialog.Shown).size());
    dialog.Focus = size_t((int(dialog.Focus) + step + count) % count);
}

void FocusItem(Dialog& dialog, Kind kind) {
    const std::vector<Item> items = ItemsOf(dialog.Shown);
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].What == kind) dialog.Focus = i;
}

void ResetPage(Dialog& dialog) {
    switch (dialog.Shown) {
        case Page::Keys:
            SetKeyBindings(DefaultKeyBindings());
            break;
        case Page::Pad:
            SetPadBindings(DefaultPadBindings());
            SetDeadZonePercent(DefaultDeadZonePercent);
            break;
        case Page::Volume:
            SetVolume(Kind::Music, FullPercent);
            SetVolume(Kind::Effects, FullPercent);
            break;
        case Page::Picture:
            SetRotation(0);
            break;
    }
    dialog.Status = "初期設定に戻しました。";
}

void StartCapture(Dialog& dialog) {
    dialog.Capturing = true;
    dialog.CaptureStarted = SDL_GetTicks();
    dialog.Status.clear();
}

void EndCapture(Dialog& dialog, const std::string& status) {
    dialog.Capturing = false;
    dialog.Status = status;
}

// The captured key or button becomes the focused action's only one; where another action had
// it, the player is told that it moved.
void Bind(Dialog& dialog, InputCode code) {
    const Action action = Focused(dialog).Of;
    const bool pad = OnPad(dialog);
    Bindings bindings = pad ? PadBindings() : KeyBindings();
    const InputNames& names = pad ? PadNames() : KeyNames();
    Action from{};
    const bool moved = bindings.Rebind(action, code, from);
    if (pad)
        SetPadBindings(bindings);
    else
        SetKeyBindings(bindings);
    std::string status = names.NameOf(code) + " を「" + ActionCaption(action) + "」にしました。";
    if (moved) {
        status = names.NameOf(code) + " を「" + ActionCaption(from) + "」から「" +
                 ActionCaption(action) + "」に移しました。";
        if (bindings.KeysOf(from).empty())
            status += "「" + std::string(ActionCaption(from)) + "」はなしです。";
    }
    EndCapture(dialog, status);
}

// Left and right on a row with a value.
void Adjust(Dialog& dialog, int step) {
    switch (Focused(dialog).What) {
        case Kind::Tabs:
            ShowPage(dialog, int(dialog.Shown) + step);
            break;
        case Kind::DeadZone:
            SetDeadZonePercent(DeadZonePercent() + step * DeadZoneStepPercent);
            break;
        case Kind::Music:
        case Kind::Effects:
            SetVolume(Focused(dialog).What, Volume(Focused(dialog).What) + step * VolumeStep);
            break;
        case Kind::Rotation:
            SetRotation(size_t((int(RotationIndex()) + step + int(Rotations.size())) %
                               int(Rotations.size())));
            break;
        case Kind::Reset:
        case Kind::Close:
            FocusItem(dialog, Focused(dialog).What == Kind::Reset ? Kind::Close : Kind::Reset);
            break;
        case Kind::Binding:
            break;
    }
}

void Activate(Dialog& dialog) {
    switch (Focused(dialog).What) {
        case Kind::Tabs:
            MoveFocus(dialog, 1);
            break;
        case Kind::Binding:
            StartCapture(dialog);
            break;
        case Kind::Reset:
            ResetPage(dialog);
            break;
        case Kind::Close:
            dialog.Finished = true;
            break;
        default:
            Adjust(dialog, 1);
            break;
    }
}

// ---- input

void HandleKey(Dialog& dialog, const SDL_KeyboardEvent& key) {
    const SDL_Keycode sym = key.keysym.sym;
    if (dialog.Capturing) {
        if (key.repeat) return;
        if (sym == SDLK_ESCAPE) return EndCapture(dialog, "取り消しました。");
        if (OnPad(dialog)) return;  // the pad's page waits for a button
        const InputCode code = KeyCodeOf(key.keysym);
        if ((key.keysym.mod & ChordModifiers) != 0 || !MayBindKey(code))
            return EndCapture(dialog,
                              KeyNames().NameOf(code) + " はウィンドウとデスクトップのキーです。");
        return Bind(dialog, code);
    }
    const bool back = (key.keysym.mod & KMOD_SHIFT) != 0;
    switch (sym) {
        case SDLK_UP:
            return MoveFocus(dialog, -1);
        case SDLK_DOWN:
            return MoveFocus(dialog, 1);
        case SDLK_TAB:
            return MoveFocus(dialog, back ? -1 : 1);
        case SDLK_LEFT:
            return Adjust(dialog, -1);
        case SDLK_RIGHT:
            return Adjust(dialog, 1);
        case SDLK_PAGEUP:
            return ShowPage(dialog, int(dialog.Shown) - 1);
        case SDLK_PAGEDOWN:
            return ShowPage(dialog, int(dialog.Shown) + 1);
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
        case SDLK_SPACE:
            if (!key.repeat) Activate(dialog);
            return;
        case SDLK_ESCAPE:
        case SettingsKey:
            if (!key.repeat) dialog.Finished = true;
            return;
        default:
            return;
    }
}

// A button pressed while the pad's page waits for one is bound; on the keyboard's page a pad
// button ends the wait. Otherwise the shoulders turn the pages, the guide button closes.
bool HandleButtonCapture(Dialog& dialog, const SDL_ControllerButtonEvent& press) {
    const auto button = SDL_GameControllerButton(press.button);
    if (dialog.Capturing) {
        if (OnPad(dialog) && MayBindButton(ButtonCodeOf(button)))
            Bind(dialog, ButtonCodeOf(button));
        else
            EndCapture(dialog, "取り消しました。");
        return true;
    }
    switch (button) {
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
            ShowPage(dialog, int(dialog.Shown) - 1);
            return true;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
            ShowPage(dialog, int(dialog.Shown) + 1);
            return true;
        case SettingsButton:
            dialog.Finished = true;
            return true;
        default:
            return false;
    }
}

void HandlePad(Dialog& dialog, PadAction action) {
    if (dialog.Capturing) return;
    switch (action) {
        case PadAction::Up:
            return MoveFocus(dialog, -1);
        case PadAction::Down:
            return MoveFocus(dialog, 1);
        case PadAction::Left:
            return Adjust(dialog, -1);
        case PadAction::Right:
            return Adjust(dialog, 1);
        case PadAction::Accept:
            return Activate(dialog);
        case PadAction::Back:
        case PadAction::Escape:
        case PadAction::Start:
            dialog.Finished = true;
            return;
        case PadAction::None:
            return;
    }
}

// What a click lands on: a tab, a row (a volume's or the turn's value by where), a button.
struct Target {
    size_t Item = 0;
    int Value = -1;  // a tab's page, a volume's percent, a turn's index
};

bool TargetAt(const Dialog& dialog, int x, int y, Target& target) {
    const std::vector<Item> items = ItemsOf(dialog.Shown);
    for (int page = 0; page < PageCount; ++page) {
        if (TabRect(dialog, page).Contains(x, y)) {
            target = {0, page};
            return true;
        }
    }
    for (size_t i = 1; i < items.size(); ++i) {
        const Kind kind = items[i].What;
        if (kind == Kind::Reset || kind == Kind::Close) {
            if (!ButtonRect(dialog, kind).Contains(x, y)) continue;
            target = {i, -1};
            return true;
        }
        const UiRect row = RowRect(dialog, i);
        if (!row.Contains(x, y)) continue;
        target = {i, -1};
        if (kind == Kind::Music || kind == Kind::Effects || kind == Kind::DeadZone) {
            const UiRect slider = SliderRect(row);
            const int percent = (x - slider.X) * FullPercent / slider.W;
            if (x >= slider.X) target.Value = std::clamp(percent, 0, FullPercent);
        } else if (kind == Kind::Rotation) {
            for (size_t choice = 0; choice < Rotations.size(); ++choice)
                if (RotationChoiceRect(row, choice).Contains(x, y)) target.Value = int(choice);
        }
        return true;
    }
    return false;
}

void Click(Dialog& dialog, const Target& target) {
    if (dialog.Capturing) return EndCapture(dialog, "取り消しました。");
    if (target.Item == 0) return ShowPage(dialog, target.Value);
    dialog.Focus = target.Item;
    const Kind kind = Focused(dialog).What;
    switch (kind) {
        case Kind::Binding:
            return StartCapture(dialog);
        case Kind::Reset:
            return ResetPage(dialog);
        case Kind::Close:
            dialog.Finished = true;
            return;
        case Kind::Music:
        case Kind::Effects:
            if (target.Value >= 0) SetVolume(kind, target.Value + VolumeStep / 2);
            return;
        case Kind::DeadZone:
            if (target.Value >= 0)
                SetDeadZonePercent((target.Value + DeadZoneStepPercent / 2) / DeadZoneStepPercent *
                                   DeadZoneStepPercent);
            return;
        case Kind::Rotation:
            if (target.Value >= 0) SetRotation(size_t(target.Value));
            return;
        case Kind::Tabs:
            return;
    }
}

void HandleMouse(Dialog& dialog, const SDL_Event& event) {
    if (event.button.button != SDL_BUTTON_LEFT) return;
    Target target;
    const bool hit = TargetAt(dialog, event.button.x, event.button.y, target);
    if (event.type == SDL_MOUSEBUTTONDOWN) {
        dialog.Pressed = hit ? int(target.Item) : -1;
        return;
    }
    // Released where it was pressed: the same item (a slider may be dragged along its row).
    const bool same = hit && int(target.Item) == dialog.Pressed;
    dialog.Pressed = -1;
    if (same) Click(dialog, target);
}

void HandleEvent(Dialog& dialog, SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            // The close box ends the program from here too, through the usual way out.
            CloseFromOutside();
            dialog.Finished = true;
            break;
        case SDL_KEYDOWN:
            HandleKey(dialog, event.key);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            HandleMouse(dialog, event);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            if (HandleButtonCapture(dialog, event.cbutton)) break;
            HandlePad(dialog, PadActionOf(event));
            break;
        default:
            HandlePad(dialog, PadActionOf(event));
            break;
    }
}

// ---- drawing

void DrawRowFrame(const UiRect& row, bool focused) {
    if (!focused) return;
    UiFill(row, HotFill);
    UiOutline(row, HotBorder);
}

void DrawSlider(const UiRect& row, int percent, int most) {
    const UiRect slider = SliderRect(row);
    const int trackY = slider.Y + (slider.H - SliderTrackHeight) / 2;
    const int filled = slider.W * percent / most;
    UiFill({slider.X, trackY, slider.W, SliderTrackHeight}, TrackColour);
    UiFill({slider.X, trackY, filled, SliderTrackHeight}, DialogFocusColour);
    const UiRect knob{slider.X + filled - KnobWidth / 2, slider.Y + (slider.H - KnobHeight) / 2,
                      KnobWidth, KnobHeight};
    UiFill(knob, DialogFocusColour);
    UiTextIn(row, std::to_string(percent) + " %", ValueColumn + SliderWidth + 16, DialogTextColour);
}

void DrawBindingRow(const Dialog& dialog, const UiRect& row, Action action, bool focused) {
    const bool pad = OnPad(dialog);
    UiTextIn(row, ActionCaption(action), LabelInset, DialogTextColour);
    std::string value;
    if (focused && dialog.Capturing) {
        value = pad ? "ボタンを押してください (Escape: やめる)"
                    : "キーを押してください (Escape: やめる)";
    } else {
        const Bindings& bindings = pad ? PadBindings() : KeyBindings();
        for (const InputCode code : bindings.KeysOf(action))
            value += (value.empty() ? "" : ", ") + (pad ? PadNames() : KeyNames()).NameOf(code);
        if (value.empty()) value = "なし";
    }
    UiTextIn(row, value, ValueColumn,
             focused && dialog.Capturing ? DialogFocusColour : DialogTextColour);
}

void DrawRow(const Dialog& dialog, size_t index, const Item& item) {
    const UiRect row = RowRect(dialog, index);
    const bool focused = index == dialog.Focus;
    DrawRowFrame(row, focused);
    switch (item.What) {
        case Kind::Binding:
            DrawBindingRow(dialog, row, item.Of, focused);
            break;
        case Kind::DeadZone:
            UiTextIn(row, "スティックの遊び", LabelInset, DialogTextColour);
            DrawSlider(row, DeadZonePercent(), FullPercent);
            break;
        case Kind::Music:
        case Kind::Effects:
            UiTextIn(row, item.What == Kind::Music ? "音楽" : "効果音", LabelInset,
                     DialogTextColour);
            DrawSlider(row, Volume(item.What), FullPercent);
            break;
        case Kind::Rotation:
            UiTextIn(row, "向き", LabelInset, DialogTextColour);
            for (size_t choice = 0; choice < Rotations.size(); ++choice)
                DrawDialogButton(RotationChoiceRect(row, choice), DegreesText(Rotations[choice]),
                                 choice == RotationIndex(), false);
            break;
        default:
            break;
    }
}

std::string HintFor(const Dialog& dialog) {
    if (dialog.Capturing) return "5 秒のうちに押さなければ取り消します。";
    switch (Focused(dialog).What) {
        case Kind::Binding:
            return OnPad(dialog) ? "A / Return: ボタンを変える   B / Escape: 閉じる"
                                 : "Return / A: キーを変える   Escape / B: 閉じる";
        case Kind::Tabs:
            return "←→ / LB RB: ページ   ↑↓: 選ぶ";
        case Kind::Rotation:
            return "←→: 変える   90° / 270°: 縦に置いたモニターに";
        default:
            return "←→: 変える   ↑↓: 選ぶ   Escape / B: 閉じる";
    }
}

void DrawDialog(const Dialog& dialog) {
    DrawDialogFrame(dialog.Box, "設定");
    for (int page = 0; page < PageCount; ++page) {
        const bool shown = page == int(dialog.Shown);
        DrawDialogButton(TabRect(dialog, page), PageCaption(Page(page)), shown,
                         shown && dialog.Focus == 0);
    }
    const std::vector<Item> items = ItemsOf(dialog.Shown);
    for (size_t i = 1; i < items.size(); ++i) {
        if (items[i].What == Kind::Reset || items[i].What == Kind::Close) {
            DrawDialogButton(ButtonRect(dialog, items[i].What),
                             items[i].What == Kind::Reset ? "初期設定に戻す" : "閉じる", false,
                             i == dialog.Focus);
            continue;
        }
        DrawRow(dialog, i, items[i]);
    }
    const std::string status = dialog.Status.empty() ? HintFor(dialog) : dialog.Status;
    UiTextIn(StatusRect(dialog), status, 0, StatusColour);
}

}  // namespace

void SetSoundLevels(const SoundLevels& levels) {
    Levels = levels;
}

void AskForSettings() {
    SettingsAsked = true;
}

void OpenSettingsIfAsked() {
    if (!SettingsAsked) return;
    SettingsAsked = false;
    ShowSettingsDialog();
}

void ShowSettingsDialog() {
    if (SettingsOpen || !GameRenderer() || ClosingFromOutside()) return;
    if (CurrentPace() == PlaybackPace::Fastest) return;
    SettingsOpen = true;
    Dialog dialog;
    dialog.Box = CentredOnPlayArea(BoxWidth, BoxHeight);
    RunDialogLoop(
        [&dialog] {
            if (dialog.Capturing && SDL_GetTicks() - dialog.CaptureStarted >= CaptureTimeoutMs)
                EndCapture(dialog, "取り消しました。");
            dialog.Box = CentredOnPlayArea(BoxWidth, BoxHeight);  // fullscreen moves it
            DrawDialog(dialog);
        },
        [&dialog](SDL_Event& event) { HandleEvent(dialog, event); },
        [&dialog] { return dialog.Finished; }, WakeMs);
    HearTheTune(dialog, false);
    SettingsOpen = false;
}
