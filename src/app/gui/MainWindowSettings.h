// The settings the main window gives its document editor (txtDocument): caret and keyboard options, the
// left bar with line numbers, the ruler, margins, both scroll bars, URL and mail colouring, and the font
// "ＭＳ ゴシック" at 12 pixels. The demo program, the tests and the main window share them.
#pragma once

class TEditor;

void ApplyMainWindowSettings(TEditor& editor);
