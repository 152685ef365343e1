// The cellular members of the texture family (TextureCellular.cpp), for the group's table in
// Texture.cpp.
#pragma once

namespace luneth::texture {

float TexWorley2d(float x, float y);
float TexFastWorley2d(float x, float y);
float TexCircleWorley2d(float x, float y);
float TexBorderWorley2d(float x, float y);
float TexVoronoise2d(float x, float y);
float TexWorley3d(float x, float y, float z);
float TexFastWorley3d(float x, float y, float z);
float TexCircleWorley3d(float x, float y, float z);
float TexBorderWorley3d(float x, float y, float z);
float TexVoronoise3d(float x, float y, float z);
float TexWorley2dColor(const float* args, int count);
float TexWorley3dColor(const float* args, int count);
float TexCraters2d(const float* args, int count);
float TexCraters3d(const float* args, int count);
float Mineral2dColor(float x, float y);
float Mineral3dColor(float x, float y, float z);
float TexExtendWorley2d(float x, float y, float jitter);
float TexExtendWorley3d(float x, float y, float z, float jitter);
float TexSphereWorley2d(float x, float y, float size, float shape);
float TexSphereWorley3d(const float* args, int count);

}  // namespace luneth::texture
