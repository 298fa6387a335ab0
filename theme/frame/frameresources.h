#pragma once
// What every themed frame of the process shares: the system's frame metrics
// and visual-style state, the two caption fonts made from the system's
// non-client metrics and the caption-button image list. Each is made on
// first use; WM_THEMECHANGED re-reads the metrics and rebuilds the fonts.
// Frames painting with ksfpSharedBuffer use the process's shared buffer
// (theme/core/sharedbuffer.h), the same one as the controls.

#include "theme/frame/formgeometry.h"

namespace hv {

class TCustomImageList;
class TFont;

const TSystemFrameMetrics& SystemFrameMetrics();
// Re-reads the metrics and the visual-style state, and rebuilds the caption fonts.
void RefreshSystemFrameMetrics();
// Tests pretend to run with or without the system's visual styles.
void SetSystemFrameMetricsForTesting(const TSystemFrameMetrics& metrics);

TFont& CaptionFont();
TFont& SmallCaptionFont();

// The masked 16 x 16 images "TE_FORM_CLOSE", "TE_FORM_MINIMIZE",
// "TE_FORM_MAXIMIZE", "TE_FORM_RESTORE", "TE_FORM_ROLLUP" and "TE_FORM_TRAY"
// of the executable, in that order; empty where a resource is missing.
enum TTeFrameImage : int { kfiClose, kfiMinimize, kfiMaximize, kfiRestore, kfiRollup, kfiTray };
TCustomImageList& FrameImageList();

// Frees all of the above; the next use makes them afresh.
void FreeFrameResources();

}  // namespace hv
