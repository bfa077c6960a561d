// The artwork is compiled in by qt_add_resources; this unit only anchors the library.
namespace velmora {
int resourcesAnchor = 0;
}
