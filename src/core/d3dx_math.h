// The D3DX matrix and vector functions the saver uses, in Direct3D's conventions
// (left-handed, row vectors, depth 0..1).
#pragma once

#include <glm/glm.hpp>

#include "core/d3d_types.h"

namespace vx {

// A Direct3D matrix for row vectors has the same memory layout as GLM's column-major matrix
// for column vectors, so the two convert by copying.
glm::mat4 ToGlm(const D3DMatrix& m);

void D3DXMatrixIdentity(D3DMatrix& out);
void D3DXMatrixLookAtLH(D3DMatrix& out, const D3DVector& eye, const D3DVector& at,
                        const D3DVector& up);
void D3DXMatrixPerspectiveFovLH(D3DMatrix& out, float fovy, float aspect, float zn, float zf);
// out = a x b for row vectors: a point goes through a first, then b.
void D3DXMatrixMultiply(D3DMatrix& out, const D3DMatrix& a, const D3DMatrix& b);
// Projects a point through world x view x projection onto the viewport (y down, MinZ..MaxZ).
void D3DXVec3Project(D3DVector& out, const D3DVector& v, const D3DViewport& viewport,
                     const D3DMatrix& projection, const D3DMatrix& view, const D3DMatrix& world);

}  // namespace vx
