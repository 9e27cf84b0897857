// The settings screen's rows: what each shows, and what changing one does.
#pragma once

// The rows listed when the screen opens, and each change the screen asks for carried out.
void list_settings_when_asked();
void change_setting_when_asked();
// The lines that name keys (the menu's, the pause screen's, the sound's note) made again
// from the binding table as the settings left it.
void name_the_keys();
