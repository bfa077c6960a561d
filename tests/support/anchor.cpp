// anchors the fixture library when no store fixture is present yet
namespace velmora::test { int supportAnchor = 0; }
