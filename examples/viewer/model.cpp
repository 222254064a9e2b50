#include "model.h"

#include <tessiv/kolt.h>
#include <tessiv/scene/mesh_io.h>
#include <tessiv/scene/stream_file.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace viewer {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr float kModelSize = 600.0f;

// A file stream that reports how far through the file the reader is.
class ProgressFile : public kolt::CStreamFile {
public:
    ProgressFile(std::uint64_t total, std::function<void(double)> const &progress)
        : m_total(total), m_progress(progress)
    {
    }

protected:
    unsigned int read_source(void *buffer, unsigned int size) override
    {
        unsigned int got = kolt::CStreamFile::read_source(buffer, size);
        m_read += got;
        if (m_progress && m_total > 0) {
            int percent = static_cast<int>(100 * m_read / m_total);
            if (percent > m_last_percent) {
                m_last_percent = percent;
                m_progress(static_cast<double>(m_read) / static_cast<double>(m_total));
            }
        }
        return got;
    }

private:
    std::uint64_t m_total;
    std::uint64_t m_read = 0;
    int m_last_percent = -1;
    std::function<void(double)> const &m_progress;
};

std::uint8_t Channel(double value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0.0, 1.0) * 255.0);
}

// A colour wheel: hue from 0 to 1 as fully saturated red, green, blue.
void Hue(double hue, std::uint8_t *rgba)
{
    double h = (hue - std::floor(hue)) * 6.0;
    double r = std::fabs(h - 3.0) - 1.0, g = 2.0 - std::fabs(h - 2.0), b = 2.0 - std::fabs(h - 4.0);
    rgba[0] = Channel(0.25 + 0.75 * std::clamp(r, 0.0, 1.0));
    rgba[1] = Channel(0.25 + 0.75 * std::clamp(g, 0.0, 1.0));
    rgba[2] = Channel(0.25 + 0.75 * std::clamp(b, 0.0, 1.0));
    rgba[3] = 255;
}

void AddVertex(Model &model, double const p[3], double const n[3], std::uint8_t const rgba[4])
{
    double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (length == 0)
        length = 1;
    for (int k = 0; k < 3; ++k) {
        model.positions.push_back(static_cast<float>(p[k]));
        model.normals.push_back(static_cast<float>(n[k] / length));
    }
    model.colours.insert(model.colours.end(), rgba, rgba + 4);
}

// A grid of (rows + 1) x (columns + 1) vertices already added from `first`,
// joined into two triangles per cell; the last row and column repeat the
// first ones in position, so the seams close.
void AddGridFaces(Model &model, std::uint32_t first, int rows, int columns)
{
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < columns; ++j) {
            std::uint32_t a = first + static_cast<std::uint32_t>(i * (columns + 1) + j);
            std::uint32_t b = a + 1;
            std::uint32_t c = a + static_cast<std::uint32_t>(columns + 1);
            std::uint32_t d = c + 1;
            model.indices.insert(model.indices.end(), {a, c, b, b, c, d});
        }
    }
}

}  // namespace

void Model::FaceCentre(int face, double centre[3]) const
{
    centre[0] = centre[1] = centre[2] = 0;
    for (int corner = 0; corner < 3; ++corner) {
        std::uint32_t v = indices[static_cast<std::size_t>(face) * 3 + static_cast<std::size_t>(corner)];
        for (int k = 0; k < 3; ++k)
            centre[k] += positions[v * 3 + static_cast<std::size_t>(k)] / 3.0;
    }
}

void IndexGroups(Model &model)
{
    model.groups.clear();
    int faces = model.FaceCount();
    float radius2 = 0;
    for (int first = 0; first < faces; first += kFacesPerGroup) {
        Box3 box;
        for (int k = 0; k < 3; ++k) {
            box.lower[k] = std::numeric_limits<float>::max();
            box.upper[k] = -std::numeric_limits<float>::max();
        }
        int last = std::min(faces, first + kFacesPerGroup);
        for (std::size_t i = static_cast<std::size_t>(first) * 3; i < static_cast<std::size_t>(last) * 3; ++i) {
            float const *p = &model.positions[model.indices[i] * 3];
            for (int k = 0; k < 3; ++k) {
                box.lower[k] = std::min(box.lower[k], p[k]);
                box.upper[k] = std::max(box.upper[k], p[k]);
            }
            radius2 = std::max(radius2, p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
        }
        model.groups.push_back(box);
    }
    model.radius = std::sqrt(radius2);
}

Model MakeBuiltInModel(int min_triangles)
{
    // The torus takes about five sixths of the triangles, the ball the rest,
    // both with cells twice as long around as across.
    int torus_triangles = std::max(2000, min_triangles - min_triangles / 6);
    int tube = std::max(8, static_cast<int>(std::ceil(std::sqrt(torus_triangles / 4.0))));
    int ring = 2 * tube;
    int ball_triangles = std::max(400, min_triangles - 2 * ring * tube);
    int latitudes = std::max(4, static_cast<int>(std::ceil(std::sqrt(ball_triangles / 4.0))));
    int longitudes = 2 * latitudes;

    Model model;
    std::size_t vertices = static_cast<std::size_t>((ring + 1) * (tube + 1) + (latitudes + 1) * (longitudes + 1));
    model.positions.reserve(vertices * 3);
    model.normals.reserve(vertices * 3);
    model.colours.reserve(vertices * 4);

    // Torus in the x-y plane: ring radius 200, tube radius 70 rippled eight
    // times around the ring.
    for (int i = 0; i <= ring; ++i) {
        double u = 2 * kPi * i / ring;
        std::uint8_t rgba[4];
        Hue(static_cast<double>(i) / ring, rgba);
        for (int j = 0; j <= tube; ++j) {
            double v = 2 * kPi * j / tube;
            double r = 70 + 12 * std::sin(8 * u);
            double dr_du = 96 * std::cos(8 * u);
            double cu = std::cos(u), su = std::sin(u), cv = std::cos(v), sv = std::sin(v);
            double p[3] = {(200 + r * cv) * cu, (200 + r * cv) * su, r * sv};
            // Normal as the cross product of the two surface tangents.
            double tu[3] = {dr_du * cv * cu - (200 + r * cv) * su, dr_du * cv * su + (200 + r * cv) * cu, dr_du * sv};
            double tv[3] = {-r * sv * cu, -r * sv * su, r * cv};
            double n[3] = {tu[1] * tv[2] - tu[2] * tv[1], tu[2] * tv[0] - tu[0] * tv[2], tu[0] * tv[1] - tu[1] * tv[0]};
            AddVertex(model, p, n, rgba);
        }
    }
    AddGridFaces(model, 0, ring, tube);

    // Ball of radius 110 through the hole, its centre lifted out of the ring's plane.
    auto first_ball = static_cast<std::uint32_t>(model.VertexCount());
    std::uint8_t white[4] = {230, 230, 220, 255};
    for (int i = 0; i <= latitudes; ++i) {
        double theta = kPi * i / latitudes;
        for (int j = 0; j <= longitudes; ++j) {
            double phi = 2 * kPi * j / longitudes;
            double n[3] = {std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi), std::cos(theta)};
            double p[3] = {110 * n[0], 110 * n[1], 60 + 110 * n[2]};
            AddVertex(model, p, n, white);
        }
    }
    AddGridFaces(model, first_ball, latitudes, longitudes);
    IndexGroups(model);
    return model;
}

Model LoadMeshFile(std::string const &path, std::function<void(double)> const &progress)
{
    std::string extension = path.substr(path.find_last_of('.') == std::string::npos ? path.size()
                                                                                      : path.find_last_of('.') + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension != "obj" && extension != "ply" && extension != "stl")
        throw std::runtime_error("loading " + path + ": unknown mesh format '." + extension +
                                 "' (expected .obj, .ply or .stl)");

    kolt::TMeshBase mesh;
    {
        kolt::CStreamFile probe;
        probe.open_checked(path.c_str(), kolt::CStreamFile::modeRead);
        std::uint64_t total = probe.source_size_left();
        probe.close();
        ProgressFile file(total == kolt::CStreamI::kUnknownSize ? 0 : total, progress);
        file.open_checked(path.c_str(), kolt::CStreamFile::modeRead);
        if (extension == "obj")
            kolt::ReadObj(file, mesh);
        else if (extension == "ply")
            kolt::ReadPly(file, mesh);
        else
            kolt::ReadStl(file, mesh);
    }
    if (mesh.GetFNum() == 0)
        throw std::runtime_error("loading " + path + ": the file holds no faces");

    // Centre the bounding box on the origin and scale its largest side to kModelSize.
    double lower[3], upper[3];
    for (int k = 0; k < 3; ++k) {
        lower[k] = std::numeric_limits<double>::max();
        upper[k] = -std::numeric_limits<double>::max();
    }
    for (int i = 0; i < mesh.GetVNum(); ++i) {
        kolt::Pnt3 const &p = mesh.GetV(i).Pos();
        double c[3] = {p.x, p.y, p.z};
        for (int k = 0; k < 3; ++k) {
            lower[k] = std::min(lower[k], c[k]);
            upper[k] = std::max(upper[k], c[k]);
        }
    }
    double extent = std::max({upper[0] - lower[0], upper[1] - lower[1], upper[2] - lower[2]});
    double scale = extent > 0 ? kModelSize / extent : 1.0;

    Model model;
    std::uint8_t grey[4] = {200, 200, 190, 255};
    for (int i = 0; i < mesh.GetVNum(); ++i) {
        kolt::Pnt3 const &p = mesh.GetV(i).Pos();
        kolt::Pnt3 const &n = mesh.GetV(i).Norm();
        double position[3] = {(p.x - (lower[0] + upper[0]) / 2) * scale, (p.y - (lower[1] + upper[1]) / 2) * scale,
                              (p.z - (lower[2] + upper[2]) / 2) * scale};
        double normal[3] = {n.x, n.y, n.z};
        AddVertex(model, position, normal, grey);
    }
    model.indices.reserve(static_cast<std::size_t>(mesh.GetFNum()) * 3);
    for (int f = 0; f < mesh.GetFNum(); ++f)
        for (int corner = 0; corner < 3; ++corner)
            model.indices.push_back(static_cast<std::uint32_t>(mesh.GetF(f).GetIndex(corner)));
    IndexGroups(model);
    return model;
}

}  // namespace viewer
