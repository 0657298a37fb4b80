// Qt's own texts in the language the program speaks: the titles and buttons
// of Qt's file, print and message dialogs ("Open", "Cancel", "Look in:") come
// from Qt's translations (Debian's qt6-translations-l10n) for German and
// Danish. Without them installed those stay English.
#pragma once

// Installs the translation of Qt's texts for the language base (English
// needs none), in place of the one installed before. Dialogs opened from
// then on speak it.
void qtFollowLanguage(int languageBase);
