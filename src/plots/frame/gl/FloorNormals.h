#pragma once

namespace nupo {

// The floor mesh that the 2D spectrum window shares with the 3D spectrum window (always 64 x 64).
inline float faceNormsAX[2][64][64][3] = {};
inline float vertNormsAX[64][64][3] = {};
inline float faceNormSegsAX[2][2][64][64][3] = {};

// Face normals, vertex normals and normal segments of the floor grid `positAX`.
void getFaceNormsAX();
void getVertNormsAX();
void getFaceNormSegsAX();

}  // namespace nupo
