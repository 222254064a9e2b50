// CBaseView picking: the selection-mode pass around a window point and the
// five ways of reading its hit records.
#include <tessiv/view/base_view.h>

#include <GL/gl.h>

#include <cstddef>
#include <iterator>
#include <utility>
#include <vector>

namespace {

constexpr GLuint kFarthestDepth = 0xFFFFFFFFu;

// Visits the hit records in buffer order as (zmin, names, name count). A
// record that would run past the buffer ends the walk, so a damaged count
// never reads outside it.
template <class Visit>
void ForEachHitRecord(GLuint const *buffer, std::size_t buffer_size, GLint hits, Visit visit)
{
    std::size_t at = 0;
    for (GLint record = 0; record < hits; ++record) {
        if (buffer_size - at < 3)
            return;
        GLuint const name_count = buffer[at];
        GLuint const zmin = buffer[at + 1];
        if (name_count > buffer_size - at - 3)
            return;
        visit(zmin, buffer + at + 3, name_count);
        at += 3 + static_cast<std::size_t>(name_count);
    }
}

// The nearest-hit rule: the first name of the first record with the smallest
// zmin; records without names never win, nor does a zmin of 0xFFFFFFFF.
struct NearestHit {
    GLuint best_depth = kFarthestDepth;
    int name = -1;
    void Visit(GLuint zmin, GLuint const *names, GLuint count)
    {
        for (GLuint i = 0; i < count; ++i) {
            if (zmin < best_depth) {
                best_depth = zmin;
                name = static_cast<int>(names[i]);
            }
        }
    }
};

// Leaves selection mode, restores the normal projection with the caller's
// matrix mode and ends the scene. Returns the hit count: below 1 when nothing
// was hit or the buffer overflowed.
GLint CloseSelectionPass(Cgl &gl)
{
    glFlush();
    glPopName();
    GLint const hits = glRenderMode(GL_RENDER);
    GLint mode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(static_cast<GLenum>(mode));
    gl.SceneEnd();
    return hits;
}

}  // namespace

void CBaseView::BeginPicking(const CPoint &point, double size)
{
    BeginScene();
    SetProjection();
    glSelectBuffer(static_cast<GLsizei>(std::size(m_selectBuffer)), m_selectBuffer);
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(kPickBaseName);
    // The normal projection is kept for the end of the pass.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    SetProjection(point.x, point.y, size);
    SetModelView();
    RotAxis();
}

int CBaseView::EndPicking()
{
    GLint const hits = CloseSelectionPass(m_gl);
    if (hits < 1)
        return -1;
    NearestHit nearest;
    std::vector<GLuint> depths;
    depths.reserve(static_cast<std::size_t>(hits));
    ForEachHitRecord(m_selectBuffer, std::size(m_selectBuffer), hits,
                     [&](GLuint zmin, GLuint const *names, GLuint count) {
                         nearest.Visit(zmin, names, count);
                         depths.push_back(zmin);
                     });
    // Several hits at one depth cannot be told apart, whatever their names.
    if (hits > 1) {
        bool all_equal = true;
        for (GLuint depth : depths)
            all_equal = all_equal && depth == depths.front();
        if (all_equal)
            return -2;
    }
    return nearest.name;
}

int CBaseView::EndPicking_Plane()
{
    GLint const hits = CloseSelectionPass(m_gl);
    NearestHit nearest;
    ForEachHitRecord(m_selectBuffer, std::size(m_selectBuffer), hits,
                     [&](GLuint zmin, GLuint const *names, GLuint count) { nearest.Visit(zmin, names, count); });
    return nearest.name;
}

void CBaseView::EndPicking(int &nearest, int &farthest)
{
    nearest = -1;
    farthest = -1;
    GLint const hits = CloseSelectionPass(m_gl);
    if (hits < 1)
        return;
    NearestHit near_rule;
    bool far_set = false;
    GLuint far_depth = 0;
    ForEachHitRecord(m_selectBuffer, std::size(m_selectBuffer), hits,
                     [&](GLuint zmin, GLuint const *names, GLuint count) {
                         near_rule.Visit(zmin, names, count);
                         for (GLuint i = 0; i < count; ++i) {
                             if (!far_set || zmin > far_depth) {
                                 far_set = true;
                                 far_depth = zmin;
                                 farthest = static_cast<int>(names[i]);
                             }
                         }
                     });
    nearest = near_rule.name;
}

bool CBaseView::EndPicking(kolt::cvector<int> &names)
{
    names.clear();
    GLint const hits = CloseSelectionPass(m_gl);
    ForEachHitRecord(m_selectBuffer, std::size(m_selectBuffer), hits,
                     [&](GLuint, GLuint const *record_names, GLuint count) {
                         for (GLuint i = 0; i < count; ++i)
                             names.push_back(static_cast<int>(record_names[i]));
                     });
    return names.size() != 0;
}

bool CBaseView::EndPickingOnView(kolt::cvector<int> &names)
{
    GLint const hits = CloseSelectionPass(m_gl);
    names.clear();
    if (hits < 1)
        return false;
    std::vector<GLuint> depths;
    ForEachHitRecord(m_selectBuffer, std::size(m_selectBuffer), hits,
                     [&](GLuint zmin, GLuint const *record_names, GLuint count) {
                         for (GLuint i = 0; i < count; ++i) {
                             names.push_back(static_cast<int>(record_names[i]));
                             depths.push_back(zmin);
                         }
                     });
    if (names.size() == 0)
        return false;
    // This exchange sort, not a stable one, fixes the order among equal
    // depths: hosts see the same order the system has always given.
    unsigned int const count = names.size();
    for (unsigned int i = 0; i + 1 < count; ++i) {
        for (unsigned int j = i + 1; j < count; ++j) {
            if (depths[i] > depths[j]) {
                std::swap(depths[i], depths[j]);
                std::swap(names[i], names[j]);
            }
        }
    }
    return true;
}
