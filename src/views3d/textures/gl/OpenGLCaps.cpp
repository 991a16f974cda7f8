#include "views3d/textures/gl/OpenGLCaps.h"

#include "views3d/textures/gl/CurrentGLContext.h"

#include <QGuiApplication>
#include <QHash>
#include <QScreen>

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace nupo {

namespace {

struct Feature {
    const char* name;
    const char* extension;
    int coreVersion;  // 12, 13, 14: the OpenGL version that includes it; 0 none
};

// In groups by vendor prefix: 14 APPLE, 21 ARB, 26 EXT, 2 SGI, 2 SGIS, 9 ATI, 13 NV, 1 HP, 1 IBM.
constexpr Feature features[glCapsFeatureCount] = {
    {"Auxiliary Depth Stencil", "GL_APPLE_aux_depth_stencil", 0},
    {"Client Storage", "GL_APPLE_client_storage", 0},
    {"Element Array", "GL_APPLE_element_array", 0},
    {"Fence", "GL_APPLE_fence", 0},
    {"Floating Point Pixels", "GL_APPLE_float_pixels", 0},
    {"Flush Buffer Range", "GL_APPLE_flush_buffer_range", 0},
    {"Flush Renderer", "GL_APPLE_flush_render", 0},
    {"Packed Pixels", "GL_APPLE_packed_pixels", 12},
    {"Pixel Buffer", "GL_APPLE_pixel_buffer", 0},
    {"Specular Vector", "GL_APPLE_specular_vector", 0},
    {"Texture Range (AGP Texturing)", "GL_APPLE_texture_range", 0},
    {"Transform Hint", "GL_APPLE_transform_hint", 0},
    {"Vertex Array Object", "GL_APPLE_vertex_array_object", 0},
    {"Vertex Array Range", "GL_APPLE_vertex_array_range", 0},
    {"Texture Mirrored Repeat", "GL_ARB_texture_mirrored_repeat", 14},
    {"Texture Rectangle", "GL_ARB_texture_rectangle", 0},
    {"Depth Texture", "GL_ARB_depth_texture", 14},
    {"Multiple Render Targets", "GL_ARB_draw_buffers", 0},
    {"Fragment Program", "GL_ARB_fragment_program", 0},
    {"Fragment Program Shadow", "GL_ARB_fragment_program_shadow", 0},
    {"Fragment Shader", "GL_ARB_fragment_shader", 0},
    {"Half Float Pixels", "GL_ARB_half_float_pixel", 0},
    {"Imaging Subset", "GL_ARB_imaging", 0},
    {"Multisample (FSAA)", "GL_ARB_multisample", 13},
    {"Multitexture", "GL_ARB_multitexture", 13},
    {"Occlusion Query", "GL_ARB_occlusion_query", 0},
    {"Pixel Buffer Objects", "GL_ARB_pixel_buffer_object", 0},
    {"Point Parameters", "GL_ARB_point_parameters", 14},
    {"Point Sprite", "GL_ARB_point_sprite", 0},
    {"Shader Objects", "GL_ARB_shader_objects", 0},
    {"Shading Language 1.00", "GL_ARB_shading_language_100", 0},
    {"Shadow Support", "GL_ARB_shadow", 14},
    {"Shadow Ambient", "GL_ARB_shadow_ambient", 0},
    {"Texture Border Clamp", "GL_ARB_texture_border_clamp", 13},
    {"Texture Compression", "GL_ARB_texture_compression", 13},
    {"ABGR Pixels", "GL_EXT_abgr", 0},
    {"BGRA Pixels", "GL_EXT_bgra", 12},
    {"Blend Color", "GL_EXT_blend_color", 14},
    {"Blend Equation Separate", "GL_EXT_blend_equation_separate", 0},
    {"Blend Function Separate", "GL_EXT_blend_func_separate", 14},
    {"Blend Min/Max", "GL_EXT_blend_minmax", 14},
    {"Blend Subtract", "GL_EXT_blend_subtract", 14},
    {"Clip Volume Hint", "GL_EXT_clip_volume_hint", 0},
    {"Compiled Vertex Array", "GL_EXT_compiled_vertex_array", 0},
    {"Draw Range Elements", "GL_EXT_draw_range_elements", 12},
    {"Fog Coordinate", "GL_EXT_fog_coord", 14},
    {"Framebuffer Objects", "GL_EXT_framebuffer_object", 0},
    {"Geometry Shader", "GL_EXT_geometry_shader4", 0},
    {"Multi-Draw Arrays", "GL_EXT_multi_draw_arrays", 14},
    {"Packed Depth Stencil", "GL_EXT_packed_depth_stencil", 0},
    {"Paletted Textures", "GL_EXT_paletted_texture", 0},
    {"Rescale Normal", "GL_EXT_rescale_normal", 12},
    {"Secondary Color", "GL_EXT_secondary_color", 14},
    {"Separate Specular Color", "GL_EXT_separate_specular_color", 12},
    {"Shadow Functions", "GL_EXT_shadow_funcs", 0},
    {"Shared Texture Palette", "GL_EXT_shared_texture_palette", 0},
    {"Stencil Two Side", "GL_EXT_stencil_two_side", 0},
    {"Stencil Wrap", "GL_EXT_stencil_wrap", 14},
    {"DXT1 Texture Compression", "GL_EXT_texture_compression_dxt1", 0},
    {"S3TC Texture Compression", "GL_EXT_texture_compression_s3tc", 0},
    {"Texture Anisotropic Filtering", "GL_EXT_texture_filter_anisotropic", 0},
    {"Color Matrix", "GL_SGI_color_matrix", 0},
    {"Color Table", "GL_SGI_color_table", 0},
    {"Generate Mipmaps", "GL_SGIS_generate_mipmap", 14},
    {"Texture Level Of Detail", "GL_SGIS_texture_lod", 12},
    {"Blend Equation Separate", "GL_ATI_blend_equation_separate", 0},
    {"Blend Weighted Min/Max", "GL_ATI_blend_weighted_minmax", 0},
    {"PN Triangles", "GL_ATI_pn_triangles", 0},
    {"Separate Stencil", "GL_ATI_separate_stencil", 0},
    {"Text Fragment Shader", "GL_ATI_text_fragment_shader", 0},
    {"3Dc Texture Compression", "GL_ATI_texture_compression_3dc", 0},
    {"Texture Env Combine 3", "GL_ATI_texture_env_combine3", 0},
    {"Texture Float", "GL_ATI_texture_float", 0},
    {"Texture Mirror Once", "GL_ATI_texture_mirror_once", 0},
    {"Blend Square", "GL_NV_blend_square", 14},
    {"Depth Clamp", "GL_NV_depth_clamp", 0},
    {"Eye Radial Fog", "GL_NV_fog_distance", 0},
    {"Fragment Program Option", "GL_NV_fragment_program_option", 0},
    {"Fragment Program 2", "GL_NV_fragment_program2", 0},
    {"Light Max Exponent", "GL_NV_light_max_exponent", 0},
    {"Multisample Filter Hint", "GL_NV_multisample_filter_hint", 0},
    {"Point Sprite", "GL_NV_point_sprite", 0},
    {"Register Combiners", "GL_NV_register_combiners", 0},
    {"Register Combiners 2", "GL_NV_register_combiners2", 0},
    {"TexGen Reflection", "GL_NV_texgen_reflection", 13},
    {"Texture Shader", "GL_NV_texture_shader", 0},
    {"Vertex Program 2 Option", "GL_NV_vertex_program2_option", 0},
    {"Occlusion Test", "GL_HP_occlusion_test", 0},
    {"Raster Position Clipping", "GL_IBM_rasterpos_clip", 0},
};

struct RendererInfo {
    unsigned int rendererID = 0;
    long videoMemory = 0;
    long freeMemory = 0;
};

// What the current context's renderer reports of itself; rendererID 0 without a context.
RendererInfo currentRenderer()
{
    RendererInfo info;
    if (!currentGLContext())
        return info;
    const auto* vendor = reinterpret_cast<const char*>(glGetString(GL_VENDOR));
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    info.rendererID = static_cast<unsigned int>(
                          qHash(QByteArray(vendor ? vendor : "") + "/" + (renderer ? renderer : ""))) |
                      1u;
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (extensions && std::strstr(extensions, "GL_NVX_gpu_memory_info")) {
        GLint total = 0;
        GLint available = 0;
        glGetIntegerv(0x9047, &total);      // GPU_MEMORY_INFO_DEDICATED_VIDMEM_NVX, KiB
        glGetIntegerv(0x9049, &available);  // GPU_MEMORY_INFO_CURRENT_AVAILABLE_VIDMEM_NVX, KiB
        info.videoMemory = long(total) * 1024;
        info.freeMemory = long(available) * 1024;
    } else if (extensions && std::strstr(extensions, "GL_ATI_meminfo")) {
        GLint free[4] = {};
        glGetIntegerv(0x87FC, free);  // TEXTURE_FREE_MEMORY_ATI, KiB
        info.freeMemory = long(free[0]) * 1024;
        info.videoMemory = info.freeMemory;
    }
    return info;
}

struct Display {
    unsigned int id;
    QRect bounds;
    int depth;
    int refreshRate;
};

std::vector<Display> activeDisplays()
{
    std::vector<Display> displays;
    if (!QGuiApplication::instance())
        return displays;
    for (QScreen* screen : QGuiApplication::screens())
        displays.push_back({static_cast<unsigned int>(qHash(screen->name())), screen->geometry(),
                            screen->depth(), static_cast<int>(screen->refreshRate() + 0.5)});
    return displays;
}

long glInteger(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

}  // namespace

QString glCapsFeatureLabel(int i)
{
    if (i < 0 || i >= glCapsFeatureCount)
        return {};
    const Feature& f = features[i];
    QString line = QStringLiteral("%1 (%2").arg(QLatin1String(f.name), QLatin1String(f.extension));
    if (f.coreVersion)
        line += QStringLiteral(" or OpenGL 1.%1+").arg(f.coreVersion % 10);
    return line + QLatin1Char(')');
}

void CheckOpenGLCaps(int maxDisplays, GLCaps* records, int* count)
{
    if (count)
        *count = 0;
    if (!records || !count || !currentGLContext())
        return;
    const RendererInfo renderer = currentRenderer();
    const auto* extensionText = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    const QList<QByteArray> extensions = QByteArray(extensionText ? extensionText : "").split(' ');
    int major = 0;
    int minor = 0;
    if (const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION)))
        std::sscanf(version, "%d.%d", &major, &minor);
    const int version = major * 10 + std::min(minor, 9);

    const std::vector<Display> displays = activeDisplays();
    const int n = std::min<int>(maxDisplays, static_cast<int>(displays.size()));
    for (int i = 0; i < n; ++i) {
        GLCaps& r = records[i];
        r = GLCaps();
        r.displayID = displays[i].id;
        r.displayMask = 1u << std::min(i, 31);
        r.originX = displays[i].bounds.x();
        r.originY = displays[i].bounds.y();
        r.width = displays[i].bounds.width();
        r.height = displays[i].bounds.height();
        r.bitsPerPixel = static_cast<short>(displays[i].depth);
        r.refreshRate = static_cast<short>(displays[i].refreshRate);
        r.videoMemory = renderer.videoMemory;
        r.freeMemory = renderer.freeMemory;
        r.rendererID = renderer.rendererID;
        r.textureUnits = glInteger(GL_MAX_TEXTURE_UNITS);
        r.maxTextureSize = glInteger(GL_MAX_TEXTURE_SIZE);
        r.max3DTextureSize = glInteger(GL_MAX_3D_TEXTURE_SIZE);
        r.maxCubeMapTextureSize = glInteger(GL_MAX_CUBE_MAP_TEXTURE_SIZE);
        r.maxRectTextureSize = glInteger(GL_MAX_RECTANGLE_TEXTURE_SIZE_ARB);
        for (int f = 0; f < glCapsFeatureCount; ++f)
            r.features[f] = extensions.contains(QByteArray(features[f].extension)) ||
                            (features[f].coreVersion && version >= features[f].coreVersion);
    }
    *count = n;
}

int HaveOpenGLCapsChanged(const GLCaps* records, int count)
{
    if (!records)
        return 1;
    const std::vector<Display> displays = activeDisplays();
    if (displays.empty() || displays.size() > 32 || static_cast<int>(displays.size()) != count)
        return 1;
    const RendererInfo renderer = currentRenderer();
    for (int i = 0; i < count; ++i) {
        const GLCaps& r = records[i];
        const Display& d = displays[i];
        if (r.displayID != d.id || r.displayMask != (1u << std::min(i, 31)) || r.originX != d.bounds.x() ||
            r.originY != d.bounds.y() || r.width != d.bounds.width() || r.height != d.bounds.height() ||
            r.bitsPerPixel != d.depth || r.refreshRate != d.refreshRate ||
            r.rendererID != renderer.rendererID || r.videoMemory != renderer.videoMemory)
            return 1;
    }
    return 0;
}

AttributedString capsString(const GLCaps& r)
{
    const RGBAColor white = RGBAColor::fromRGBA(1, 1, 1, 1);
    const TextAttributes title = TextAttributes::withFont(QStringLiteral("Helvetica"), 12, true, white);
    const TextAttributes heading = TextAttributes::withFont(QStringLiteral("Helvetica"), 9, true, white);
    const TextAttributes lines = TextAttributes::withFont(QStringLiteral("Helvetica"), 9, false, white);
    constexpr long megabyte = 1048576;

    AttributedString text(QStringLiteral("OpenGL Capabilities:"), title);
    text.append(QStringLiteral("\n  Max VRAM- %1 MB (%2 MB free)")
                    .arg(r.videoMemory / megabyte)
                    .arg(r.freeMemory / megabyte),
                lines);
    text.append(
        QStringLiteral("\n  Max Texture Size- 1D/2D: %1, 3D: %2, Cube: %3, Rect: %4 (%5 texture units)")
            .arg(r.maxTextureSize)
            .arg(r.max3DTextureSize)
            .arg(r.maxCubeMapTextureSize)
            .arg(r.maxRectTextureSize)
            .arg(r.textureUnits),
        lines);
    text.append(QStringLiteral("\n Features:"), heading);
    for (int f = 0; f < glCapsFeatureCount; ++f)
        if (r.features[f])
            text.append(QStringLiteral("\n  ") + glCapsFeatureLabel(f), lines);
    return text;
}

void initCapsTexture(const GLCaps* records, int count)
{
    capsTextures.clear();
    if (!records)
        return;
    capsTextures.reserve(std::max(count, 0));
    for (int i = 0; i < count; ++i)
        capsTextures.push_back(std::make_unique<StringTexture>(
            capsString(records[i]), RGBAColor::fromRGBA(1, 1, 1, 1), RGBAColor::fromRGBA(0.4, 0.4, 0.0, 0.4),
            RGBAColor::fromRGBA(0.8, 0.8, 0.0, 0.8)));
}

void drawCaps(const GLCaps* records, int count, unsigned int rendererID, float height)
{
    if (!records)
        return;
    for (int i = 0; i < count && i < static_cast<int>(capsTextures.size()); ++i) {
        if (records[i].rendererID != rendererID)
            continue;
        StringTexture& texture = *capsTextures[i];
        const QSizeF size = texture.frameSize();
        texture.drawAtPoint(QPointF(10.0, height - 10.0 - size.height()));
        return;
    }
}

}  // namespace nupo
