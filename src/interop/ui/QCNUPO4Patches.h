#pragma once

#include <QStringList>

namespace nupo {

class OscPatchServer;

// The patches, as address spaces of the patch interface (Open Sound Control on the loopback address):
//
//   /nupo4/rawdata/…     BrainCHX XpositionX YpositionX WsizeX HsizeX (int, stored by the raw-wave
//                        controller); reads ShowWindowRawwave, boundsRawwave (x y w h), ARawwavePP
//   /nupo4/bargraph/…    BrainCHX XpositionX YpositionX WsizeX HsizeX (stored by the bar-graph
//                        controller); redComponentY … alphaComponentY, redComponentCY … alphaComponentCY
//                        (0..1, stored by the bar-graph view)
//   /nupo4/waterfall/…   BrainCHX XpositionX YpositionX WsizeX HsizeX, inputRX inputRY inputRZ (stored by
//                        the 2D spectrum controller)
//   /nupo4/drawing/rectangleK/BrainChannel, …/View   (K 1..16) the front drawing's K-th rectangle takes
//                        the brain channel (1..10) or view (0..19) and hands it to the shared views
//   /nupo4/preferences/… soundPlay, soundStop (no argument, or a number: non-zero plays / stops every open
//                        sound slot), PlaySoundBlockX (the sound block in use, 1..12), AppleScriptON (0
//                        or 1: the only switch that turns scripts on)
//
// A read is a message without arguments; the answer goes to the sender at the same address, as floats.
// An int argument may arrive as any number kind; one out of the int range, a colour component outside
// 0..1, a block outside 1..12, a switch other than 0 or 1, a channel or view out of range and a rectangle
// the front drawing lacks change nothing and are logged once.
class QCNUPO4Patches {
public:
    // The rectangles of the front drawing that have addresses of their own.
    static constexpr int drawingPatchRectangles = 16;

    static void addAddressSpaces(OscPatchServer& server);

    // The process-wide server with every patch's address space.
    static OscPatchServer& sharedPatchServer();
    // Starts it on 127.0.0.1:port; false when the port cannot be had, said in the log and in an alert.
    static bool startPatchInterface(int port);
};

}  // namespace nupo
