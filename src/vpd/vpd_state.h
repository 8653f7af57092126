// The one piece of state the VPD exports share.
#ifndef FWPROBE_VPD_STATE_H
#define FWPROBE_VPD_STATE_H

namespace fwprobe {

// Set by the first successful VPDLoadData and never cleared afterwards.
extern bool VPDLoaded;

// Test seam: returns the library to its state at load.
void ResetVpdLoadedForTesting();

}  // namespace fwprobe

#endif
