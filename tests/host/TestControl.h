#pragma once
// A small in-process OLE control for the host tests: a window that takes
// the focus, a few properties, one event interface, persistence through a
// property bag, an access key (Alt+K) and a record of what the host did.
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

#include <string>
#include <vector>

namespace hosttest {

// {6F1C2D3E-4A5B-4C6D-8E9F-0A1B2C3D4E5F}
extern const CLSID CLSID_Probe;
// {6F1C2D3E-4A5B-4C6D-8E9F-0A1B2C3D4E60}: the event interface.
extern const IID DIID_ProbeEvents;
extern const char* const kProbeClsid; // the class identifier as text
extern const char* const kProbeProgId;

// Event identifiers.
const DISPID kProbeClick = 1;
const DISPID kProbeKeyPress = 2; // (ByRef KeyAscii As Integer)

// Property identifiers.
const DISPID kProbeCaption = 0x68030000;
const DISPID kProbeStyle = 0x68030001;

// What every probe saw, kept after it is gone.
struct ProbeLog {
    std::vector<std::string> calls; // "SetClientSite", "Close", "SetClientSite(null)", "InitNew", "Load", ...
    int alive = 0;                  // probes not yet destroyed
};
ProbeLog& Log();

// Registers the class object (once per process) and its ProgID.
void RegisterProbe();

} // namespace hosttest
