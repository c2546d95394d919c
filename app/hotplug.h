// The port list and the port in use follow adapters plugged in and pulled out.
#pragma once

// Starts following the serial devices (after the port selector is filled).
void StartHotPlug();
void StopHotPlug();
// The port in use was chosen (and its handshake run): the adapter behind it
// is the one followed from now on, and a port lost before is forgotten.
void FollowChosenPort();
