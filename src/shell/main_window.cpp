#include "shell/main_window.h"

#include "audio/music_device.h"
#include "audio/sound.h"
#include "common/version.h"
#include "data/settings.h"
#include "game/state.h"
#include "platform/platform.h"

void Form_Load() {
    SendMusicCommand("Open m_battle.mid Alias BGM");
}

void Form_Unload() {
    WriteSettings();
    SendMusicCommand("Close BGM");
    ReleaseSoundEffect(SoundExplosion);
    ReleaseSound();
    EndProgram(0);
}

// Before the settings were read, the ones in memory are not the player's: nothing is written.
void SaveBeforeFatalExit() {
    if (SettingsWereRead()) WriteSettings();
}

void mnuReadMe_Click() {
    OpenDocument(GameFile("\\readme.txt"));
}

void mnuAbout_Click() {
    MessageBox("Vexlan\nVersion " + GameVersion, AppTitle, BoxButtons::Ok, BoxIcon::Information);
}
