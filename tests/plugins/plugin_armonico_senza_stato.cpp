// A run-time harmonic library that lacks its status entry: the binding must refuse it.
extern "C" __attribute__((visibility("default"))) void Harmonic_3Link_mode(double*, double* out, int, int nOut)
{
    if (out != nullptr && nOut > 0)
        out[0] = 1.0;
}
