// A tiny library the platform tests load at run time.
extern "C" __attribute__((visibility("default"))) int PluginProvaValore()
{
    return 4217;
}
