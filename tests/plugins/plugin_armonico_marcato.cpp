// A run-time harmonic library whose every answer is a failure, so a test sees which one ran.
extern "C" __attribute__((visibility("default"))) void Harmonic_3Link_mode(double*, double* out, int, int nOut)
{
    if (out != nullptr && nOut > 0)
        out[0] = -7.0;
}

extern "C" __attribute__((visibility("default"))) int LVDLLStatus(char*, int, void*)
{
    return 0;
}
