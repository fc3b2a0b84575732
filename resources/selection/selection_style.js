(function () {
  "use strict";
  var MAX_FRAME_LEVELS = 16;
  var MAX_TEXT_UNITS = 200000;
  var MAX_TEXT_NODES = 20000;
  var MAX_STYLES = 128;
  var MAX_FAMILY_UNITS = 2048;
  var TEXT_NODE = 3;  // Node.TEXT_NODE, the same in every frame
  var SHOW_TEXT = 4;  // NodeFilter.SHOW_TEXT

  function answer(status) {
    return JSON.stringify({ status: status });
  }

  function isBlank(text) {
    return /^\s*$/.test(text);
  }

  // The focused element, looking inside open shadow roots; the innermost
  // shadow root is where a selection inside them lives.
  function focused(doc) {
    var element = doc.activeElement;
    var shadowRoot = null;
    while (element && element.shadowRoot && element.shadowRoot.activeElement) {
      shadowRoot = element.shadowRoot;
      element = shadowRoot.activeElement;
    }
    return { element: element, root: shadowRoot || doc };
  }

  try {
    var win = window;
    try {
      for (var level = 0; level < MAX_FRAME_LEVELS; level++) {
        var inner = focused(win.document).element;
        if (!inner || (inner.tagName !== "IFRAME" && inner.tagName !== "FRAME")) break;
        win = inner.contentWindow;
        // Reading a cross-origin frame's document throws.
        void win.document.documentElement;
      }
    } catch (frameError) {
      return answer("frame");
    }

    var doc = win.document;
    var focus = focused(doc);
    var active = focus.element;
    if (active && active.tagName === "INPUT" && String(active.type).toLowerCase() === "password") {
      return answer("protected");
    }

    // Identical records are kept once, in the order they first appear.
    var styles = new Map();
    var canvas = null;
    var context;
    function rgbaOf(color) {
      if (context === undefined) {
        canvas = doc.createElement("canvas");
        canvas.width = 1;
        canvas.height = 1;
        context = canvas.getContext("2d", { willReadFrequently: true }) || null;
      }
      if (!context) return [];
      context.clearRect(0, 0, 1, 1);
      context.fillStyle = color;
      context.fillRect(0, 0, 1, 1);
      var data = context.getImageData(0, 0, 1, 1).data;
      return [data[0], data[1], data[2], data[3]];
    }
    function addStyle(element) {
      var computed = win.getComputedStyle(element);
      var family = computed.fontFamily;
      if (family.length > MAX_FAMILY_UNITS) throw new Error("font family too long");
      var record = {
        fontFamily: family,
        fontSize: computed.fontSize,
        fontWeight: computed.fontWeight,
        rgba: rgbaOf(computed.color)
      };
      var key = JSON.stringify(record);
      if (styles.has(key)) return;
      if (styles.size >= MAX_STYLES) throw new Error("too many styles");
      styles.set(key, record);
    }

    var text;
    var start = null;
    var end = null;
    if (active && (active.tagName === "INPUT" || active.tagName === "TEXTAREA")) {
      try {
        start = active.selectionStart;
        end = active.selectionEnd;
      } catch (notATextField) {
        start = null;
      }
    }
    if (typeof start === "number" && typeof end === "number" && end > start) {
      text = String(active.value).slice(start, end);
      if (isBlank(text)) return answer("empty");
      addStyle(active);
    } else {
      var selection = (focus.root.getSelection && focus.root.getSelection()) || win.getSelection();
      if (!selection || selection.isCollapsed || selection.rangeCount === 0) return answer("empty");
      text = selection.toString();
      if (text.length > MAX_TEXT_UNITS) return answer("limit");
      var visited = 0;
      for (var index = 0; index < selection.rangeCount; index++) {
        var range = selection.getRangeAt(index);
        var ancestor = range.commonAncestorContainer;
        var walker = ancestor.nodeType === TEXT_NODE ? null : doc.createTreeWalker(ancestor, SHOW_TEXT);
        var node = walker ? walker.nextNode() : ancestor;
        while (node) {
          visited += 1;
          if (visited > MAX_TEXT_NODES) return answer("limit");
          if (range.intersectsNode(node)) {
            var from = node === range.startContainer ? range.startOffset : 0;
            var to = node === range.endContainer ? range.endOffset : node.data.length;
            var part = node.data.slice(from, to);
            if (part !== "" && !isBlank(part) && node.parentElement) addStyle(node.parentElement);
          }
          node = walker ? walker.nextNode() : null;
        }
      }
    }
    if (text.length > MAX_TEXT_UNITS) return answer("limit");

    var records = Array.from(styles.values());
    return JSON.stringify({ status: records.length > 0 ? "ok" : "empty", text: text, styles: records });
  } catch (error) {
    return answer("unsupported");
  }
})();
