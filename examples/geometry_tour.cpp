// A short walk through the geometry core, printing what it computes: the
// growth of the record array, a rotation about an arbitrary axis, the
// transform of a node-like matrix chain and its inverses, and box tests.
#include <tessiv/kolt.h>
#include <tessiv/tessiv.h>

#include <cstdio>

namespace {

void Print(char const *label, kolt::Pnt3 const &p)
{
    std::printf("  %-34s (%.6f, %.6f, %.6f)\n", label, p.x, p.y, p.z);
}

kolt::Pnt3 Apply(kolt::Pnt3 const &p, kolt::MatX4 const &m)
{
    return kolt::Pnt3(p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12],
                      p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
                      p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14]);
}

}  // namespace

int main()
{
    std::printf("Tessiv %s geometry tour\n\n", TESSIV_VERSION_STRING);

    std::printf("Record array growth (push_back from empty):\n ");
    kolt::cvector<kolt::Pnt3> points;
    for (int i = 0; i < 9; ++i) {
        points.push_back(kolt::Pnt3(i, 0, 0));
        std::printf(" %u/%u", points.size(), points.capacity());
    }
    std::printf("  (size/capacity)\n\n");

    std::printf("Rotations:\n");
    kolt::Pnt3 const axis(1, 1, 1);
    kolt::Pnt3 const p(1, 0, 0);
    Print("(1,0,0) about (1,1,1) by 120 deg", p.RotAxis(axis, kolt::Math::Deg2Rad(120)));
    double a1, a2;
    axis.ComputeGlbAng(a1, a2);
    std::printf("  %-34s a1 = %.6f deg, a2 = %.6f deg\n\n", "angles turning (1,1,1) onto +Z",
                kolt::Math::Rad2Deg(a1), kolt::Math::Rad2Deg(a2));

    std::printf("A node-like transform: rotate 90 deg about Z, then move by (1,2,3):\n");
    kolt::MatX4 rotate, move;
    rotate.SetRotateZ(kolt::Math::Deg2Rad(90));
    move.SetTranslate(kolt::Pnt3(1, 2, 3));
    kolt::MatX4 const global = rotate * move;
    kolt::MatX4 inverse = global, fast = global;
    bool const inverted = inverse.Invert();
    bool const fastInverted = fast.InvertFast();
    Print("(1,0,0) to world", Apply(p, global));
    Print("back through Invert", Apply(Apply(p, global), inverse));
    Print("back through InvertFast", Apply(Apply(p, global), fast));
    std::printf("  Invert %s, InvertFast %s\n\n", inverted ? "succeeded" : "failed",
                fastInverted ? "succeeded" : "failed");

    std::printf("Boxes:\n");
    kolt::Box const unit(kolt::Pnt3(0, 0, 0), kolt::Pnt3(1, 1, 1));
    kolt::Box const touching(kolt::Pnt3(1, 0, 0), kolt::Pnt3(2, 1, 1));
    kolt::Box const empty;
    std::printf("  unit box contains its corner (1,1,1): %s\n",
                unit.PtInBox(kolt::Pnt3(1, 1, 1)) ? "yes" : "no");
    std::printf("  boxes sharing a face overlap:         %s\n",
                unit.BoxOverBox(touching) ? "yes" : "no");
    std::printf("  the empty box overlaps the unit box:  %s\n",
                empty.BoxOverBox(unit) ? "yes" : "no");
    return 0;
}
