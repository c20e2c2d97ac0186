# Reads a DXF file with ezdxf and prints what the tests check, one item a line, fields split by '|'.
import sys

import ezdxf


def f(v):
    return "%.2f" % v


def main():
    doc = ezdxf.readfile(sys.argv[1])
    auditor = doc.audit()
    print("AUDIT|%d" % len(auditor.errors))
    for err in auditor.errors:
        print("AUDITERROR|%s" % err.message)
    print("ENCODING|%s" % doc.encoding)
    for layer in doc.layers:
        print("LAYER|%s|%d" % (layer.dxf.name, layer.dxf.color))
    for e in doc.modelspace():
        t = e.dxftype()
        head = "%s|%s|%d" % (t, e.dxf.layer, e.dxf.color)
        if t == "LINE":
            s, d = e.dxf.start, e.dxf.end
            print("|".join([head, f(s.x), f(s.y), f(d.x), f(d.y)]))
        elif t == "ARC":
            c = e.dxf.center
            print("|".join([head, f(c.x), f(c.y), f(e.dxf.radius), f(e.dxf.start_angle), f(e.dxf.end_angle)]))
        elif t == "CIRCLE":
            c = e.dxf.center
            print("|".join([head, f(c.x), f(c.y), f(e.dxf.radius)]))
        elif t == "POLYLINE":
            pts = ";".join("%s,%s" % (f(v.dxf.location.x), f(v.dxf.location.y)) for v in e.vertices)
            same = all(v.dxf.layer == e.dxf.layer and v.dxf.color == e.dxf.color for v in e.vertices)
            print("|".join([head, "closed" if e.is_closed else "open", pts, "same" if same else "mixed"]))
        elif t == "TEXT":
            p = e.dxf.insert
            print("|".join([head, f(p.x), f(p.y), f(e.dxf.height), e.dxf.text]))
        else:
            print(head)


if __name__ == "__main__":
    main()
