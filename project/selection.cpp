#include "project/selection.h"

#include "project/uvdimage.h"

#include <algorithm>

bool ClickPhoto(TVDImage& project, int index, bool ctrl)
{
    project.focus = index;
    bool wholeGrid = false;
    if (!ctrl) {
        wholeGrid = project.selected.TrueCount() > 1;
        project.selected.SetAll(0);
    }
    project.selected.Set(index, !project.selected.Get(index));
    return wholeGrid;
}

void MoveFocusTo(TVDImage& project, int index, bool extend, int anchor)
{
    project.focus = index;
    project.selected.SetAll(0);
    if (!extend || anchor < 0 || anchor >= project.Count())
        anchor = index;
    for (int i = std::min(anchor, index); i <= std::max(anchor, index); ++i)
        project.selected.Set(i, true);
}

void ToggleFocused(TVDImage& project)
{
    if (project.focus >= 0 && project.focus < project.Count())
        project.selected.Set(project.focus, !project.selected.Get(project.focus));
}

void SelectAll(TVDImage& project)
{
    project.selected.SetAll(1);
}

void InvertSelection(TVDImage& project)
{
    for (int i = 0; i < project.Count(); ++i)
        project.selected.Set(i, !project.selected.Get(i));
}

void SelectNone(TVDImage& project)
{
    project.selected.SetAll(0);
}
