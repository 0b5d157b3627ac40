#pragma once
// Selection and focus in the thumbnail grid, as the mouse and keyboard change them. The
// state lives in the project (selected, focus); these functions only change it.
class TVDImage;

// A left click: the focus follows the click. A plain click selects exactly the clicked
// photo; with Ctrl only the clicked photo's selection flips. True when more than one photo
// lost its selection, so the whole grid must be repainted (else only the old and new focus).
bool ClickPhoto(TVDImage& project, int index, bool ctrl);

// Keyboard: the focus moves to index; without extend the selection becomes that photo alone,
// with extend it becomes the run from anchor to index.
void MoveFocusTo(TVDImage& project, int index, bool extend, int anchor);

// Space: flips the focused photo's selection.
void ToggleFocused(TVDImage& project);

void SelectAll(TVDImage& project);
void InvertSelection(TVDImage& project);
void SelectNone(TVDImage& project);
