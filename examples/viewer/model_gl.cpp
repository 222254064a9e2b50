#include "model_gl.h"

#include <GL/gl.h>

namespace viewer {
namespace {

// Whether some part of the box may lie inside the volume clip = P · M · p.
// Conservative: a box is dropped only when all its corners lie beyond one
// and the same clipping plane.
bool BoxReachesVolume(Box3 const &box, double const clip_matrix[16])
{
    int outside[6] = {0, 0, 0, 0, 0, 0};
    for (int corner = 0; corner < 8; ++corner) {
        double p[3] = {(corner & 1) ? box.upper[0] : box.lower[0], (corner & 2) ? box.upper[1] : box.lower[1],
                       (corner & 4) ? box.upper[2] : box.lower[2]};
        double c[4];
        for (int row = 0; row < 4; ++row)
            c[row] = clip_matrix[row] * p[0] + clip_matrix[4 + row] * p[1] + clip_matrix[8 + row] * p[2] +
                     clip_matrix[12 + row];
        for (int axis = 0; axis < 3; ++axis) {
            outside[2 * axis] += c[axis] < -c[3];
            outside[2 * axis + 1] += c[axis] > c[3];
        }
    }
    for (int count : outside)
        if (count == 8)
            return false;
    return true;
}

void EnableArrays(Model const &model)
{
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, model.positions.data());
    glNormalPointer(GL_FLOAT, 0, model.normals.data());
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, model.colours.data());
}

void DisableArrays()
{
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

}  // namespace

void DrawModel(Model const &model)
{
    if (model.indices.empty())
        return;
    EnableArrays(model);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(model.indices.size()), GL_UNSIGNED_INT, model.indices.data());
    DisableArrays();
}

int DrawRunsForPicking(Model const &model)
{
    if (model.indices.empty())
        return 0;
    double projection[16], modelview[16], clip[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += projection[k * 4 + row] * modelview[column * 4 + k];
            clip[column * 4 + row] = sum;
        }

    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, model.positions.data());
    int faces = model.FaceCount();
    int drawn = 0;
    for (std::size_t run = 0; run < model.groups.size(); ++run) {
        if (!BoxReachesVolume(model.groups[run], clip))
            continue;
        ++drawn;
        int first = static_cast<int>(run) * kFacesPerGroup;
        int count = first + kFacesPerGroup < faces ? kFacesPerGroup : faces - first;
        glLoadName(static_cast<GLuint>(run));
        glDrawElements(GL_TRIANGLES, count * 3, GL_UNSIGNED_INT,
                       model.indices.data() + static_cast<std::size_t>(first) * 3);
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    return drawn;
}

void DrawRunFacesForPicking(Model const &model, int run)
{
    if (run < 0 || static_cast<std::size_t>(run) >= model.groups.size())
        return;
    int first = run * kFacesPerGroup;
    int last = first + kFacesPerGroup < model.FaceCount() ? first + kFacesPerGroup : model.FaceCount();
    DrawFacesNamed(model, first, last);
}

void DrawFacesNamed(Model const &model, int first, int last)
{
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, model.positions.data());
    for (int face = first; face < last; ++face) {
        glLoadName(static_cast<GLuint>(face));
        glDrawElements(GL_TRIANGLES, 3, GL_UNSIGNED_INT, model.indices.data() + static_cast<std::size_t>(face) * 3);
    }
    glDisableClientState(GL_VERTEX_ARRAY);
}

}  // namespace viewer
