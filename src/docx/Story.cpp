#include "docx/Story.h"

#include "platform/Word.h"

#include <algorithm>

#include "docx/XmlNames.h"
#include "platform/AsciiCase.h"
#include "platform/Utf.h"

namespace sendnote::docx {
namespace {

// The next element after `node` in document order, entering `node` when `descend`;
// empty past the end of `root`.
pugi::xml_node NextInOrder(pugi::xml_node node, bool descend, pugi::xml_node root) {
  if (descend) {
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
      if (c.type() == pugi::node_element) return c;
    }
  }
  for (; node && node != root; node = node.parent()) {
    for (pugi::xml_node s = node.next_sibling(); s; s = s.next_sibling()) {
      if (s.type() == pugi::node_element) return s;
    }
  }
  return {};
}

bool IsAncestor(pugi::xml_node ancestor, pugi::xml_node node) {
  for (pugi::xml_node n = node.parent(); n; n = n.parent()) {
    if (n == ancestor) return true;
  }
  return false;
}

bool ContainsNoCase(std::string_view text, std::string_view part) {
  std::string t;
  for (char c : text) {
    if (c == ' ') continue;
    t += platform::AsciiLower(c);
  }
  return t.find(part) != std::string::npos;
}

std::u16string ElementText(pugi::xml_node element) {
  std::string text;
  for (pugi::xml_node c = element.first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) text += c.value();
  }
  return platform::FromUtf8(text);
}

void SetElementText(pugi::xml_node element, std::string_view text) {
  while (pugi::xml_node c = element.first_child()) element.remove_child(c);
  if (!text.empty()) element.append_child(pugi::node_pcdata).set_value(std::string(text).c_str());
}

// True for characters a run can show as text; others (controls, non-characters) are
// dropped, since XML cannot carry them.
bool IsTextCharacter(char16_t c) { return c >= 0x20 && c != 0xFFFE && c != 0xFFFF; }

bool NeedsPreserve(std::u16string_view text) {
  return !text.empty() &&
         (text.front() == u' ' || text.back() == u' ' || text.find(u"  ") != std::u16string::npos);
}

}  // namespace

// The walk that finds fields and shapes.
struct Story::Scan {
  struct Open {
    FieldState* field;
    bool inResult;
    bool simple;
  };

  const Story& story;
  bool withShapes;
  std::vector<std::unique_ptr<FieldState>> fields;
  std::vector<std::unique_ptr<ShapeState>> shapes;
  std::vector<Open> open;

  FieldState& NewField() {
    fields.push_back(std::make_unique<FieldState>());
    FieldState& f = *fields.back();
    f.copies.emplace_back();
    if (!open.empty()) {
      f.parent = open.back().field;
      f.inParentResult = open.back().inResult;
      f.parent->children.push_back(&f);
    }
    return f;
  }

  ShapeState& AddShape(pugi::xml_node anchor, pugi::xml_node text, pugi::xml_node twin,
                       ShapeState* group = nullptr) {
    auto shape = std::make_unique<ShapeState>();
    shape->anchor = anchor;
    shape->text = text;
    shape->twinText = text ? twin : pugi::xml_node();
    if (!open.empty()) {
      shape->owner = open.back().field;
      shape->inOwnerResult = open.back().inResult;
    }
    shape->group = group;
    if (group) group->items.push_back(shape.get());
    shapes.push_back(std::move(shape));
    return *shapes.back();
  }

  static pugi::xml_node GraphicData(pugi::xml_node anchor) {
    return FirstChildNamed(FirstChildNamed(anchor, Ns::kA, "graphic"), Ns::kA, "graphicData");
  }
  // The text of a DrawingML shape: wps:txbx/w:txbxContent of its wps:wsp.
  static pugi::xml_node ShapeText(pugi::xml_node wsp) {
    return FirstChildNamed(FirstChildNamed(wsp, Ns::kWps, "txbx"), Ns::kW, "txbxContent");
  }
  // The text of a DrawingML shape: wps:wsp/wps:txbx/w:txbxContent of its graphic.
  static pugi::xml_node DrawingText(pugi::xml_node anchor) {
    return ShapeText(FirstChildNamed(GraphicData(anchor), Ns::kWps, "wsp"));
  }

  // Adds a DrawingML shape: a single shape, or a group (wpg:wgp) with its items. `twins`
  // are the text boxes of the VML copy in document order; each text box takes the next.
  void AddDrawing(pugi::xml_node node, pugi::xml_node anchor, std::vector<pugi::xml_node> twins) {
    const pugi::xml_node wgp = FirstChildNamed(GraphicData(anchor), Ns::kWpg, "wgp");
    if (!wgp) {
      AddShape(node, DrawingText(anchor), twins.empty() ? pugi::xml_node() : twins.front());
      return;
    }
    ShapeState& group = AddShape(node, {}, {});
    group.isGroup = true;
    size_t next = 0;
    AddGroupItems(group, wgp, twins, next);
  }

  void AddGroupItems(ShapeState& group, pugi::xml_node container,
                     const std::vector<pugi::xml_node>& twins, size_t& next) {
    for (pugi::xml_node c = container.first_child(); c; c = c.next_sibling()) {
      if (c.type() != pugi::node_element) continue;
      const QName name = NameOf(c);
      if (name.Is(Ns::kWps, "wsp")) {
        const pugi::xml_node text = ShapeText(c);
        const pugi::xml_node twin = text && next < twins.size() ? twins[next++] : pugi::xml_node();
        AddShape(c, text, twin, &group);
      } else if (name.Is(Ns::kWpg, "grpSp")) {
        ShapeState& inner = AddShape(c, {}, {}, &group);
        inner.isGroup = true;
        AddGroupItems(inner, c, twins, next);
      } else if (name.local == "pic") {
        AddShape(c, {}, {}, &group);
      }
    }
  }

  // The w:txbxContent elements below `root`, in document order.
  static std::vector<pugi::xml_node> TextBoxContents(pugi::xml_node root) {
    std::vector<pugi::xml_node> out;
    std::vector<pugi::xml_node> stack;
    for (pugi::xml_node c = root.last_child(); c; c = c.previous_sibling()) stack.push_back(c);
    while (!stack.empty()) {
      const pugi::xml_node n = stack.back();
      stack.pop_back();
      if (n.type() != pugi::node_element) continue;
      if (NameOf(n).Is(Ns::kW, "txbxContent")) {
        out.push_back(n);
        continue;
      }
      for (pugi::xml_node c = n.last_child(); c; c = c.previous_sibling()) stack.push_back(c);
    }
    return out;
  }

  // A drawing in markup-compatibility form: the DrawingML choice and its VML fallback.
  // Returns false when the choice holds no drawing (the walk then enters the choice).
  bool AlternateContent(pugi::xml_node node) {
    const pugi::xml_node choice = FirstChildNamed(node, Ns::kMc, "Choice");
    const pugi::xml_node drawing = FirstDescendantNamed(choice, Ns::kW, "drawing");
    if (!drawing) return false;
    const pugi::xml_node anchor = FirstChildNamed(drawing, Ns::kWp, "anchor");
    if (!anchor) return true;  // an inline drawing is not one of the shapes
    const pugi::xml_node fallback = FirstChildNamed(node, Ns::kMc, "Fallback");
    AddDrawing(node, anchor, TextBoxContents(fallback));
    return true;
  }

  void Drawing(pugi::xml_node node) {
    const pugi::xml_node anchor = FirstChildNamed(node, Ns::kWp, "anchor");
    if (anchor) AddDrawing(node, anchor, {});
  }

  static pugi::xml_node VmlText(pugi::xml_node shape) {
    return FirstChildNamed(FirstChildNamed(shape, Ns::kV, "textbox"), Ns::kW, "txbxContent");
  }

  // The items of a VML group: its shapes and inner groups.
  void AddVmlItems(ShapeState& group, pugi::xml_node element) {
    for (pugi::xml_node c = element.first_child(); c; c = c.next_sibling()) {
      if (c.type() != pugi::node_element) continue;
      const QName name = NameOf(c);
      if (name.ns != Ns::kV || name.local == "shapetype") continue;
      if (name.local == "group") {
        ShapeState& inner = AddShape(c, {}, {}, &group);
        inner.isGroup = true;
        AddVmlItems(inner, c);
      } else {
        AddShape(c, VmlText(c), {}, &group);
      }
    }
  }

  // A VML picture element: its first shape counts when it floats (absolute position).
  void Picture(pugi::xml_node node) {
    NsScope scope(node);
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
      if (c.type() != pugi::node_element) continue;
      const size_t mark = scope.Enter(c);
      const QName name = scope.NameOf(c);
      scope.Leave(mark);
      if (name.ns != Ns::kV || name.local == "shapetype") continue;
      if (!ContainsNoCase(c.attribute("style").value(), "position:absolute")) return;
      if (name.local == "group") {
        ShapeState& group = AddShape(node, {}, {});
        group.isGroup = true;
        AddVmlItems(group, c);
        return;
      }
      AddShape(node, VmlText(c), {});
      return;
    }
  }

  // Handles an element on entering it; returns whether to walk its children.
  bool Enter(pugi::xml_node node, const QName& name, const NsScope& scope, pugi::xml_node root) {
    if (name.ns == Ns::kMc && name.local == "AlternateContent") {
      return !(withShapes && AlternateContent(node));
    }
    if (name.ns == Ns::kMc && name.local == "Fallback") return false;  // a second copy
    if (name.ns != Ns::kW) return true;
    const std::string_view local = name.local;
    if (local == "txbxContent") return node == root;
    if (local == "drawing") {
      if (withShapes) Drawing(node);
      return false;
    }
    if (local == "pict") {
      if (withShapes) Picture(node);
      return false;
    }
    if (local == "object") return false;
    if (local == "fldSimple") {
      FieldState& f = NewField();
      f.copies[0].simple = node;
      open.push_back({&f, true, true});
      return true;
    }
    if (local == "fldChar") {
      if (!story.IsW(node.parent(), "r")) return false;
      const std::string_view type = scope.Attribute(node, Ns::kW, "fldCharType").value();
      if (type == "begin") {
        FieldState& f = NewField();
        f.copies[0].begin = node;
        open.push_back({&f, false, false});
      } else if (!open.empty() && !open.back().simple) {
        if (type == "separate") {
          open.back().field->copies[0].separate = node;
          open.back().inResult = true;
        } else if (type == "end") {
          open.back().field->copies[0].end = node;
          open.pop_back();
        }
      }
      return false;
    }
    if (local == "instrText") {
      if (story.IsW(node.parent(), "r") && !open.empty() && !open.back().simple &&
          !open.back().inResult) {
        open.back().field->copies[0].instructions.push_back(node);
      }
      return false;
    }
    return true;
  }

  void Leave(pugi::xml_node node) {
    for (size_t i = open.size(); i-- > 0;) {
      if (open[i].simple && open[i].field->copies[0].simple == node) {
        open.erase(open.begin() + static_cast<ptrdiff_t>(i));
        return;
      }
    }
  }

  void Run(pugi::xml_node root) {
    struct Frame {
      pugi::xml_node node;
      size_t mark;
      bool leaving;
    };
    NsScope scope(root.parent());
    std::vector<Frame> stack{{root, 0, false}};
    while (!stack.empty()) {
      Frame frame = stack.back();
      stack.pop_back();
      if (frame.leaving) {
        Leave(frame.node);
        scope.Leave(frame.mark);
        continue;
      }
      const size_t mark = scope.Enter(frame.node);
      const QName name = scope.NameOf(frame.node);
      if (!Enter(frame.node, name, scope, root)) {
        scope.Leave(mark);
        continue;
      }
      stack.push_back({frame.node, mark, true});
      if (name.Is(Ns::kMc, "AlternateContent")) {
        // Only the first choice is read; the rest are other forms of the same content.
        if (pugi::xml_node choice = FirstChildNamed(frame.node, Ns::kMc, "Choice")) {
          stack.push_back({choice, 0, false});
        }
        continue;
      }
      for (pugi::xml_node c = frame.node.last_child(); c; c = c.previous_sibling()) {
        if (c.type() == pugi::node_element) stack.push_back({c, 0, false});
      }
    }
    // Fields never closed are not fields.
    for (const Open& o : open) o.field->alive = false;
  }
};

Story::Story(XmlPart& part, pugi::xml_node root, pugi::xml_node twin, bool withShapes)
    : part_(part), root_(root), twin_(twin) {
  w_ = PrefixFor(root, Ns::kW).value_or("w");
  Scan scan{*this, withShapes, {}, {}, {}};
  scan.Run(root_);
  all_ = std::move(scan.fields);
  shapes_ = std::move(scan.shapes);
  for (const auto& f : all_) {
    if (f->alive) live_.push_back(f.get());
  }
  if (!twin_) return;
  // The second copy's fields are edited along with the first when they match one to one;
  // otherwise the second copy is rewritten from the first after every edit.
  Scan twinScan{*this, false, {}, {}, {}};
  twinScan.Run(twin_);
  std::vector<FieldState*> twinLive;
  for (const auto& f : twinScan.fields) {
    if (f->alive) twinLive.push_back(f.get());
  }
  bool match = twinLive.size() == live_.size();
  for (size_t i = 0; match && i < live_.size(); ++i) {
    match = CodeText(*live_[i]) == CodeText(*twinLive[i]) &&
            (live_[i]->copies[0].simple.empty() == twinLive[i]->copies[0].simple.empty());
  }
  if (!match) {
    resyncTwin_ = true;
    return;
  }
  for (size_t i = 0; i < live_.size(); ++i) live_[i]->copies.push_back(twinLive[i]->copies[0]);
}

Story::~Story() = default;

std::string Story::W(std::string_view local) const { return Qualified(w_, local); }

bool Story::IsW(pugi::xml_node node, std::string_view local) const {
  const std::string_view name = node.name();
  if (w_.empty()) return name == local;
  return name.size() == w_.size() + 1 + local.size() && name.starts_with(w_) &&
         name[w_.size()] == ':' && name.ends_with(local);
}

std::vector<FieldState*> Story::FieldsIn(const FieldState& field, bool inResult) const {
  std::vector<FieldState*> out;
  for (FieldState* f : live_) {
    for (const FieldState* c = f; c->parent; c = c->parent) {
      if (c->parent == &field) {
        if (c->inParentResult == inResult) out.push_back(f);
        break;
      }
    }
  }
  return out;
}

std::vector<ShapeState*> Story::Shapes() const {
  std::vector<ShapeState*> out;
  for (const auto& s : shapes_) {
    if (s->alive && !s->group) out.push_back(s.get());
  }
  return out;
}

std::vector<ShapeState*> Story::TextBoxes() const {
  std::vector<ShapeState*> out;
  for (const auto& s : shapes_) {
    if (s->alive && s->text) out.push_back(s.get());
  }
  return out;
}

Story& Story::TextOf(ShapeState& shape) {
  if (!shape.story) {
    shape.story = std::make_unique<Story>(part_, shape.text, shape.twinText, false);
    shape.story->SetType(platform::kWdTextFrameStory);
  }
  return *shape.story;
}

// --- Code ---

std::u16string Story::CodeText(const FieldState& field) const {
  const FieldMarks& marks = field.copies[0];
  if (marks.simple) return platform::FromUtf8(AttributeOf(marks.simple, Ns::kW, "instr").value());
  std::u16string code;
  for (pugi::xml_node instruction : marks.instructions) code += ElementText(instruction);
  return code;
}

void Story::SetCodeText(FieldState& field, std::u16string_view code) {
  const std::string text = XmlText(code);
  for (FieldMarks& marks : field.copies) {
    if (marks.simple) {
      pugi::xml_attribute instr = AttributeOf(marks.simple, Ns::kW, "instr");
      if (!instr) instr = marks.simple.append_attribute(W("instr").c_str());
      instr.set_value(text.c_str());
      continue;
    }
    if (marks.instructions.empty()) {
      // A field with an empty code gets an instruction run after its first run.
      SplitRunAfter(marks.begin);
      const pugi::xml_node beginRun = marks.begin.parent();
      pugi::xml_node run = beginRun.parent().insert_child_after(W("r").c_str(), beginRun);
      if (pugi::xml_node rPr = beginRun.child(W("rPr").c_str())) run.append_copy(rPr);
      marks.instructions.push_back(run.append_child(W("instrText").c_str()));
    }
    pugi::xml_node first = marks.instructions.front();
    SetElementText(first, text);
    if (!first.attribute("xml:space")) first.append_attribute("xml:space") = "preserve";
    for (size_t i = 1; i < marks.instructions.size(); ++i) {
      SetElementText(marks.instructions[i], "");
    }
  }
  Edited();
}

// --- Results ---

std::vector<pugi::xml_node> Story::RunsBetween(pugi::xml_node from, pugi::xml_node to) const {
  std::vector<pugi::xml_node> runs;
  pugi::xml_node node = NextInOrder(from, false, root_);
  while (node && node != to) {
    const bool run = IsW(node, "r");
    if (run) runs.push_back(node);
    node = NextInOrder(node, !run, root_);
  }
  if (node != to) runs.clear();  // `to` does not follow `from`: nothing lies between
  return runs;
}

std::vector<pugi::xml_node> Story::RunsInside(pugi::xml_node element) const {
  std::vector<pugi::xml_node> runs;
  for (pugi::xml_node n = NextInOrder(element, true, root_); n && IsAncestor(element, n);) {
    const bool run = IsW(n, "r");
    if (run) runs.push_back(n);
    n = NextInOrder(n, !run, root_);
  }
  return runs;
}

std::u16string Story::RunText(pugi::xml_node run) const {
  std::u16string text;
  for (pugi::xml_node c = run.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    if (IsW(c, "t")) {
      text += ElementText(c);
    } else if (IsW(c, "tab")) {
      text += u'\t';
    } else if (IsW(c, "br") || IsW(c, "cr")) {
      text += std::string_view(AttributeOf(c, Ns::kW, "type").value()) == "page" ? u'\f' : u'\v';
    } else if (IsW(c, "noBreakHyphen")) {
      text += u'\x1E';
    } else if (IsW(c, "softHyphen")) {
      text += u'\x1F';
    }
  }
  return text;
}

pugi::xml_node Story::FirstContentRun(const std::vector<pugi::xml_node>& runs) const {
  for (pugi::xml_node run : runs) {
    bool fieldMarkup = false;
    for (pugi::xml_node c = run.first_child(); c && !fieldMarkup; c = c.next_sibling()) {
      fieldMarkup = IsW(c, "fldChar") || IsW(c, "instrText");
    }
    if (!fieldMarkup) return run;
  }
  return {};
}

std::u16string Story::ResultText(const FieldState& field) const {
  const FieldMarks& marks = field.copies[0];
  std::vector<pugi::xml_node> runs;
  if (marks.simple) {
    runs = RunsInside(marks.simple);
  } else if (marks.separate && marks.end) {
    runs = RunsBetween(marks.separate.parent(), marks.end.parent());
  }
  std::u16string text;
  pugi::xml_node paragraph;
  for (pugi::xml_node run : runs) {
    pugi::xml_node p = run.parent();
    while (p && !IsW(p, "p")) p = p.parent();
    if (paragraph && p != paragraph) text += u'\r';
    paragraph = p;
    text += RunText(run);
  }
  return text;
}

pugi::xml_node Story::InsertRunAfter(pugi::xml_node after, pugi::xml_node rPr,
                                     std::u16string_view text) {
  pugi::xml_node run = after.parent().insert_child_after(W("r").c_str(), after);
  if (rPr) run.append_copy(rPr);
  std::u16string pending;
  auto flush = [&] {
    if (pending.empty()) return;
    pugi::xml_node t = run.append_child(W("t").c_str());
    if (NeedsPreserve(pending)) t.append_attribute("xml:space") = "preserve";
    t.append_child(pugi::node_pcdata).set_value(platform::ToUtf8(pending).c_str());
    pending.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\t') {
      flush();
      run.append_child(W("tab").c_str());
    } else if (c == u'\r' || c == u'\n' || c == u'\v') {
      flush();
      run.append_child(W("br").c_str());
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else if (IsTextCharacter(c)) {
      pending += c;
    }
  }
  flush();
  return run;
}

void Story::SplitRunAfter(pugi::xml_node node) {
  pugi::xml_node run = node.parent();
  bool more = false;
  for (pugi::xml_node s = node.next_sibling(); s && !more; s = s.next_sibling()) {
    more = s.type() == pugi::node_element;
  }
  if (!more) return;
  pugi::xml_node second = run.parent().insert_child_after(W("r").c_str(), run);
  for (pugi::xml_attribute a = run.first_attribute(); a; a = a.next_attribute()) {
    second.append_copy(a);
  }
  if (pugi::xml_node rPr = run.child(W("rPr").c_str())) second.append_copy(rPr);
  while (pugi::xml_node s = node.next_sibling()) second.append_move(s);
}

void Story::SplitRunBefore(pugi::xml_node node) {
  pugi::xml_node run = node.parent();
  std::vector<pugi::xml_node> before;
  bool content = false;
  for (pugi::xml_node s = run.first_child(); s && s != node; s = s.next_sibling()) {
    if (s.type() == pugi::node_element && IsW(s, "rPr")) continue;
    before.push_back(s);
    content = content || s.type() == pugi::node_element;
  }
  if (!content) return;
  pugi::xml_node first = run.parent().insert_child_before(W("r").c_str(), run);
  for (pugi::xml_attribute a = run.first_attribute(); a; a = a.next_attribute()) {
    first.append_copy(a);
  }
  if (pugi::xml_node rPr = run.child(W("rPr").c_str())) first.append_copy(rPr);
  for (pugi::xml_node s : before) first.append_move(s);
}

void Story::ReplaceComplexResult(FieldMarks& marks, std::u16string_view text, ResultFormat format) {
  SplitRunBefore(marks.end);
  pugi::xml_node endRun = marks.end.parent();
  const pugi::xml_node beginRun = marks.begin.parent();
  if (!marks.separate) {
    pugi::xml_node run = endRun.parent().insert_child_before(W("r").c_str(), endRun);
    if (pugi::xml_node rPr = beginRun.child(W("rPr").c_str())) run.append_copy(rPr);
    marks.separate = run.append_child(W("fldChar").c_str());
    marks.separate.append_attribute(W("fldCharType").c_str()) = "separate";
  }
  SplitRunAfter(marks.separate);
  const pugi::xml_node separateRun = marks.separate.parent();
  const std::vector<pugi::xml_node> runs = RunsBetween(separateRun, endRun);

  pugi::xml_node formatRun = beginRun;
  if (format == ResultFormat::kFirstCodeRun && !marks.instructions.empty()) {
    formatRun = marks.instructions.front().parent();
  } else if (format == ResultFormat::kFirstResultRun) {
    if (pugi::xml_node first = FirstContentRun(runs)) formatRun = first;
  }
  // The new run is made before the old ones go, while its formatting source exists.
  InsertRunAfter(separateRun, formatRun.child(W("rPr").c_str()), text);

  pugi::xml_node p1 = separateRun.parent();
  pugi::xml_node pn = endRun.parent();
  for (pugi::xml_node run : runs) run.parent().remove_child(run);
  if (p1 == pn || !IsW(p1, "p") || !IsW(pn, "p") || p1.parent() != pn.parent()) return;

  // A result that spanned paragraphs: the paragraphs it covered are merged into the
  // first, unless one of them ends a section.
  std::vector<pugi::xml_node> between;
  for (pugi::xml_node p = p1.next_sibling(); p && p != pn; p = p.next_sibling()) {
    if (p.type() != pugi::node_element) continue;
    if (!IsW(p, "p")) return;
    between.push_back(p);
  }
  between.push_back(pn);
  for (pugi::xml_node p : between) {
    if (p.child(W("pPr").c_str()).child(W("sectPr").c_str())) return;
  }
  for (pugi::xml_node p : between) {
    if (p == pn) continue;
    p.parent().remove_child(p);
  }
  for (pugi::xml_node c = pn.first_child(); c;) {
    pugi::xml_node next = c.next_sibling();
    if (!(c.type() == pugi::node_element && IsW(c, "pPr"))) p1.append_move(c);
    c = next;
  }
  pn.parent().remove_child(pn);
}

void Story::ReplaceSimpleResult(FieldMarks& marks, std::u16string_view text) {
  const std::vector<pugi::xml_node> runs = RunsInside(marks.simple);
  const pugi::xml_node formatRun = FirstContentRun(runs);
  // The result goes after the field's data (if any), before everything else is removed.
  pugi::xml_node anchor;
  for (pugi::xml_node c = marks.simple.first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_element && IsW(c, "fldData")) anchor = c;
  }
  pugi::xml_node newRun;
  if (anchor) {
    newRun = InsertRunAfter(anchor, formatRun.child(W("rPr").c_str()), text);
  } else {
    pugi::xml_node placeholder = marks.simple.prepend_child(pugi::node_pcdata);
    newRun = InsertRunAfter(placeholder, formatRun.child(W("rPr").c_str()), text);
    marks.simple.remove_child(placeholder);
  }
  for (pugi::xml_node c = marks.simple.first_child(); c;) {
    pugi::xml_node next = c.next_sibling();
    if (c != newRun && c != anchor) marks.simple.remove_child(c);
    c = next;
  }
}

void Story::SetResult(FieldState& field, std::u16string_view text, ResultFormat format) {
  KillResultOf(field);
  for (FieldMarks& marks : field.copies) {
    if (marks.simple) {
      ReplaceSimpleResult(marks, text);
    } else if (marks.begin && marks.end) {
      ReplaceComplexResult(marks, text, format);
    }
  }
  Edited();
}

void Story::KillResultOf(FieldState& field) {
  struct Killer {
    static void Tree(FieldState& f) {
      f.alive = false;
      for (FieldState* c : f.children) Tree(*c);
    }
  };
  bool killed = false;
  for (FieldState* c : field.children) {
    if (c->inParentResult) {
      Killer::Tree(*c);
      killed = true;
    }
  }
  for (const auto& shape : shapes_) {
    if (!shape->alive) continue;
    if ((shape->owner == &field && shape->inOwnerResult) ||
        (shape->owner && !shape->owner->alive)) {
      shape->alive = false;
      if (shape->story) shape->story->KillAll();
    }
  }
  // Most results hold no fields: the list is only rebuilt when one went.
  if (killed) std::erase_if(live_, [](const FieldState* f) { return !f->alive; });
}

void Story::KillAll() {
  for (FieldState* f : live_) f->alive = false;
  live_.clear();
  for (const auto& shape : shapes_) {
    shape->alive = false;
    if (shape->story) shape->story->KillAll();
  }
  alive_ = false;
}

void Story::Edited() {
  part_.MarkChanged();
  if (!resyncTwin_ || !twin_) return;
  while (pugi::xml_node c = twin_.first_child()) twin_.remove_child(c);
  for (pugi::xml_node c = root_.first_child(); c; c = c.next_sibling()) twin_.append_copy(c);
}

// --- Whole text ---

std::u16string Story::Text() const {
  std::u16string text;
  for (pugi::xml_node node = NextInOrder(root_, true, root_); node;) {
    if (IsW(node, "p")) {
      for (pugi::xml_node n = NextInOrder(node, true, root_); n && IsAncestor(node, n);) {
        const bool run = IsW(n, "r");
        if (run) text += RunText(n);
        n = NextInOrder(n, !run && !IsW(n, "txbxContent"), root_);
      }
      text += u'\r';
      node = NextInOrder(node, false, root_);
      continue;
    }
    node = NextInOrder(node, true, root_);
  }
  return text;
}

void Story::SetText(std::u16string_view text) {
  const pugi::xml_node firstParagraph = root_.child(W("p").c_str());
  const pugi::xml_node pPr = firstParagraph.child(W("pPr").c_str());
  pugi::xml_node rPr;
  for (pugi::xml_node n = NextInOrder(root_, true, root_); n && !rPr;
       n = NextInOrder(n, true, root_)) {
    if (IsW(n, "r")) rPr = n.child(W("rPr").c_str());
  }
  std::vector<pugi::xml_node> old;
  for (pugi::xml_node c = root_.first_child(); c; c = c.next_sibling()) old.push_back(c);

  // One paragraph per carriage return, each with the first paragraph's and run's format.
  size_t start = 0;
  while (true) {
    size_t end = text.find(u'\r', start);
    const std::u16string_view line = text.substr(
        start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start);
    pugi::xml_node p = root_.append_child(W("p").c_str());
    if (pPr) p.append_copy(pPr);
    if (!line.empty()) {
      pugi::xml_node placeholder = p.append_child(pugi::node_pcdata);
      InsertRunAfter(placeholder, rPr, line);
      p.remove_child(placeholder);
    }
    if (end == std::u16string_view::npos) break;
    start = end + 1;
    if (start < text.size() && text[start] == u'\n') ++start;
    if (start >= text.size()) break;  // a final paragraph mark ends the last paragraph
  }
  for (FieldState* f : live_) f->alive = false;
  live_.clear();
  for (pugi::xml_node c : old) root_.remove_child(c);
  resyncTwin_ = true;  // the second copy is rewritten from the new text
  Edited();
}

std::optional<std::u16string> Story::BookmarkText(std::u16string_view name) const {
  pugi::xml_node start;
  for (pugi::xml_node n = NextInOrder(root_, true, root_); n; n = NextInOrder(n, true, root_)) {
    if (IsW(n, "bookmarkStart") &&
        platform::EqualsIgnoringAsciiCase(
            platform::FromUtf8(AttributeOf(n, Ns::kW, "name").value()), name)) {
      start = n;
      break;
    }
  }
  if (!start) return std::nullopt;
  const std::string_view id = AttributeOf(start, Ns::kW, "id").value();
  std::u16string text;
  pugi::xml_node paragraph;
  for (pugi::xml_node n = NextInOrder(start, false, root_); n;) {
    if (IsW(n, "bookmarkEnd") && id == AttributeOf(n, Ns::kW, "id").value()) break;
    const bool run = IsW(n, "r");
    if (run) {
      pugi::xml_node p = n.parent();
      while (p && !IsW(p, "p")) p = p.parent();
      if (paragraph && p != paragraph) text += u'\r';
      paragraph = p;
      text += RunText(n);
    }
    n = NextInOrder(n, !run, root_);
  }
  return text;
}

}  // namespace sendnote::docx
