#pragma once

#include "plots/waterfall/WaterfallState.h"

#include <vector>

namespace nupo {

// The model of the 2D spectrum window ("Waterfall Window"): for each of ten sources (A CH 1, B CH 2,
// C coherence CH 1 & 2, D CH 3, E CH 4, F CH 3 & 4, G CH 1 & 3, H CH 2 & 4, I CH 1 & 4, J CH 2 & 3; index
// 0..9 in letter order) a scrolling history of 128 rows of up to 64 display columns, the mesh data drawn
// from it (texture coordinates, face and vertex normals) and the time stamps of the rows. Row 0 is the
// newest row. The drawing half (gl/) draws from copies of these grids that each frame takes on the main
// thread; only the normals below are the frames' own (computed and read while a frame draws).
//
// Height grids store display column c at column gridZ - 1 - c. Spectrum heights are the analysis values
// as stored; coherence heights are percent ÷ 20, or ÷ 10 with the coherence-high option.
//
// Main thread only, but for the normals (vertNormsZ, faceNormsZ), which only frames touch.
class QX2DSpectrum {
public:
    static constexpr int rows = waterfallRows;
    static constexpr int columns = waterfallColumns;
    static constexpr int heightGridCount = 20;  // 0..9 sources A..J, 10..19 the second set

    using FloatGrid = float[rows][columns];
    using DoubleGrid = double[rows][columns];
    using Vector3 = float[3];

    static QX2DSpectrum& sharedQX2DSpectrum();

    // --- History -----------------------------------------------------------------------------------
    // Empties every history, the time stamps and the peak table; display gains back to 1, and the
    // peak line's scale references at the next frame (waterfallHistoryGeneration).
    void initPositionZ();
    // Takes one row; forwards to getpositionZ.
    void wavenZ(int selection, int shapeC, int startFrequency, int Coherencehigh);
    // The row update for a display selection 1..12: scrolls the selected sources' histories (and the
    // peak blocks of channel selections) and fills row 0 from the analysis. Another selection does
    // nothing.
    void getpositionZ(int selection, int shapeC, int startFrequency, int Coherencehigh);
    // Scrolls block 0..7 of the peak table by one row and renumbers its rows.
    void movePeakfftPowerFV(int block);

    // The x of element X of analysis buffer mX (0..8); 0 for another buffer.
    double complexDataXB(int X, int mX) const;
    // Stores the 512-band value of a display column of analysis buffer mX (0..8) into [row][column] of
    // that buffer's grid; the row is clamped to 0..127, the column to 0..63.
    void putToM512BandComplexDataB(int row, int iX, int mX);

    // --- Mesh (its normals are computed and read by the frame drawing, nothing else) -------------------
    // Mesh animation flags (read by nothing).
    void gonZ();

    // --- Time stamps ----------------------------------------------------------------------------------
    // Pushes a sample position into timeRecZ: entry 1 becomes p, entry k + 1 the old entry k.
    void setupTimeNumberZ(long position);

    // --- Data -----------------------------------------------------------------------------------------
    // Height grid 0..19; null for another n.
    const FloatGrid* heightGrid(int n) const;
    FloatGrid* heightGrid(int n);
    // Linear-layout history of source 0..9 (null otherwise).
    DoubleGrid* linearGrid(int source);
    const DoubleGrid* linearGrid(int source) const;
    // True for the coherence sources C, F, G, H, I, J.
    static bool isCoherenceSource(int source);
    // Peak block of a channel source (A 0, B 1, D 2, E 3), -1 for a coherence source.
    static int peakBlockOfSource(int source);
    // The sources a display selection updates and draws (up to two; count 0 outside 1..12).
    struct Selection {
        int count = 0;
        int sources[2] = {-1, -1};
    };
    static Selection sourcesOfSelection(int selection);

    FloatGrid forceZ{}, velocZ{};
    FloatGrid positZ{}, positBZ{}, positCZ{}, positDZ{}, positEZ{}, positFZ{}, positGZ{}, positHZ{},
        positIZ{}, positJZ{};
    FloatGrid positXZ{}, positXBZ{}, positXCZ{}, positXDZ{}, positXEZ{}, positXFZ{}, positXGZ{}, positXHZ{},
        positXIZ{}, positXJZ{};
    Vector3 vertNormsZ[rows][columns]{};
    Vector3 faceNormsZ[2][rows][columns]{};
    float texCoordsZ[rows][columns][2]{};
    DoubleGrid complexDataA3B{}, complexDataB3B{}, complexDataC3B{}, complexDataD3B{}, complexDataE3B{},
        complexDataF3B{}, complexDataG3B{}, complexDataH3B{}, complexDataI3B{}, complexDataJ3B{};

    float lightPositionZ[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    int drawFaceNormsZ = 0;
    int wavingZ = 0;
    int editingZ = 0;

private:
    QX2DSpectrum() = default;

    // New row-0 values of one source for columns 0..gridZ - 1, from one copy of the analysis results.
    void takeRowValues(int source, int startFrequency, bool band512, double coherenceFactor, double* values);

    std::vector<double> scratch_ = std::vector<double>(8192);
};

// Flips the face-normal switch (read by nothing that draws).
void setOtherZ(int n);

}  // namespace nupo
