#include "views3d/wave/gl/QXnewave.h"

#include "platform/gl/MeshNormals.h"
#include "views3d/scene/gl/MeshShapes.h"

#include <cmath>

namespace nupo {

QXnewave& QXnewave::sharedQXnewave()
{
    static QXnewave* instance = new QXnewave;  // lives to process end
    return *instance;
}

void QXnewave::postRedisplay()
{
    ++redisplayRequests;
    if (redisplay)
        redisplay();
}

void QXnewave::wavedn()
{
    if (wavingd == 0)
        return;
    getforced();
    getvelocdityd();
    getpositdiond();
    postRedisplay();
}

void QXnewave::godn()
{
    wavingd = 1;
    editdingd = 0;
}

void QXnewave::stopdn()
{
    wavingd = 0;
}

void QXnewave::editd()
{
    stopdn();
    editdingd = 1;
}

void QXnewave::reversed()
{
    for (int i = 1; i < gridd - 1; ++i)
        for (int j = 1; j < gridd - 1; ++j)
            velocd[i][j] = -velocd[i][j];
    if (wavingd == 0)
        godn();
}

void QXnewave::resetdn(int mode)
{
    if (wavingd)
        stopdn();
    if (mode != 0)
        resetdnModed = mode;
    // The sheet's quarter and sixth heights are whole-number quotients of its side.
    const float quarter = static_cast<float>(gridd / 4);
    const float sixth = static_cast<float>(gridd / 6);
    for (int i = 0; i < gridd; ++i) {
        for (int j = 0; j < gridd; ++j) {
            velocd[i][j] = 0.0f;
            forced[i][j] = 0.0f;
            meshShapeHeight(resetdnModed, i, j, gridd, quarter, sixth, positd[i][j]);
            if (i == 0 || j == 0 || i == gridd - 1 || j == gridd - 1)
                positd[i][j] = 0.0f;
        }
    }
    postRedisplay();
}

void QXnewave::setdSized(int n)
{
    static constexpr int sides[] = {15, 31, 42, 63};
    const int old = gridd;
    if (n >= 0 && n < 4)
        gridd = sides[n];
    if (old > gridd)
        resetdn(resetdnModed);
    getTexCoordsd();
    postRedisplay();
}

void QXnewave::setSpeeddn(int n)
{
    static constexpr float steps[] = {0.001f, 0.004f, 0.008f};
    if (n >= 0 && n < 3)
        dtd = steps[n];
}

void QXnewave::getforced()
{
    auto& P = positd;
    auto& F = forced;
    for (int i = 0; i < gridd; ++i)
        for (int j = 0; j < gridd; ++j)
            F[i][j] = 0.0f;

    // Each vertex pulls on its eight neighbours and they on it with equal and opposite amounts; the
    // diagonal springs are longer by the square root of two.
    const auto pull = [&](int i, int j, int ni, int nj, bool diagonal) {
        float d = P[i][j] - P[ni][nj];
        if (diagonal)
            d = static_cast<float>(d / 1.414213562);
        F[i][j] -= d;
        F[ni][nj] += d;
    };
    for (int i = 2; i <= gridd - 3; ++i) {
        for (int j = 2; j <= gridd - 3; ++j) {
            pull(i, j, i, j - 1, false);
            pull(i, j, i - 1, j, false);
            pull(i, j, i, j + 1, false);
            pull(i, j, i + 1, j, false);
            pull(i, j, i + 1, j + 1, true);
            pull(i, j, i - 1, j - 1, true);
            pull(i, j, i + 1, j - 1, true);
            pull(i, j, i - 1, j + 1, true);
        }
    }
}

void QXnewave::getvelocdityd()
{
    const float step = dtd;
    for (int i = 0; i < gridd; ++i)
        for (int j = 0; j < gridd; ++j)
            velocd[i][j] = std::fma(forced[i][j], step, velocd[i][j]);
}

void QXnewave::getpositdiond()
{
    for (int i = 0; i < gridd; ++i)
        for (int j = 0; j < gridd; ++j)
            positd[i][j] = positd[i][j] + velocd[i][j];
}

void QXnewave::getFaceNormsd()
{
    getFaceNormsOf(positd, gridd, gridd, faceNormsd);
}

void QXnewave::getVertNormsd()
{
    getVertNormsOf(faceNormsd, gridd, gridd, vertNormsd);
}

void QXnewave::getFaceNormSegsd()
{
    getFaceNormSegsOf(positd, gridd, gridd, faceNormsd, faceNormSegsd);
}

void QXnewave::getTexCoordsd()
{
    getTexCoordsOf(gridd, gridd, texCoordsd);
}

}  // namespace nupo
