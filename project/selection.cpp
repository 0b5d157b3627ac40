#include "project/selection.h"

#include "project/uvdimage.h"

#include <algorithm>

bool ClickPhoto(TVDImage& project, int index, bool ctrl)
{
    project.focus = index;
    bool wholeGrid = false;
    if (!ctrl) {
        wholeGrid = project.SelectedCount() > 1;
        project.SetAllSelected(false);
    }
    bool& selected = project.Photo(index).selected;
    selected = !selected;
    return wholeGrid;
}

void MoveFocusTo(TVDImage& project, int index, bool extend, int anchor)
{
    project.focus = index;
    project.SetAllSelected(false);
    if (!extend || anchor < 0 || anchor >= project.Count())
        anchor = index;
    for (int i = std::min(anchor, index); i <= std::max(anchor, index); ++i)
        project.Photo(i).selected = true;
}

void ToggleFocused(TVDImage& project)
{
    if (project.focus >= 0 && project.focus < project.Count()) {
        bool& selected = project.Photo(project.focus).selected;
        selected = !selected;
    }
}

void SelectAll(TVDImage& project)
{
    project.SetAllSelected(true);
}

void InvertSelection(TVDImage& project)
{
    for (int i = 0; i < project.Count(); ++i)
        project.Photo(i).selected = !project.Photo(i).selected;
}

void SelectNone(TVDImage& project)
{
    project.SetAllSelected(false);
}
