// The browser page script that reports the selection's computed style, run
// in a real DOM. Each case builds a page, makes a selection or focus, runs
// the script as the browser would (an expression whose value is a JSON text)
// and reads its answer.
"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const { JSDOM, VirtualConsole } = require("jsdom");

const script = fs.readFileSync(process.env.SELECTION_STYLE_SCRIPT, "utf8");

// A 2D context that paints one pixel the way a canvas does: the fill style
// as bytes, transparent after clearing.
function fakeCanvasContext() {
  let pixel = [0, 0, 0, 0];
  let fill = "#000000";
  return {
    clearRect() { pixel = [0, 0, 0, 0]; },
    set fillStyle(value) { fill = String(value); },
    get fillStyle() { return fill; },
    fillRect() {
      const m = /^rgba?\((\d+),\s*(\d+),\s*(\d+)(?:,\s*([\d.]+))?\)$/.exec(fill);
      pixel = m ? [+m[1], +m[2], +m[3], m[4] === undefined ? 255 : Math.round(+m[4] * 255)] : [0, 0, 0, 255];
    },
    getImageData() { return { data: Uint8ClampedArray.from(pixel) }; },
  };
}

function page(html, { canvas = true } = {}) {
  const dom = new JSDOM(html, { runScripts: "outside-only", virtualConsole: new VirtualConsole() });
  const window = dom.window;
  if (canvas) window.HTMLCanvasElement.prototype.getContext = function () { return fakeCanvasContext(); };
  return { window, document: window.document };
}

function run(window) {
  const answer = window.eval(script);
  assert.equal(typeof answer, "string", "the script's value is a JSON text");
  return JSON.parse(answer);
}

function select(window, startNode, startOffset, endNode, endOffset) {
  const range = window.document.createRange();
  range.setStart(startNode, startOffset);
  range.setEnd(endNode, endOffset);
  window.getSelection().removeAllRanges();
  window.getSelection().addRange(range);
}

test("styled spans are reported once each, in the order they first appear", () => {
  const { window, document } = page(
    `<p><span id=a style="font-family: Georgia; font-size: 20px; font-weight: 700; color: rgb(255, 0, 0)">Hello</span>` +
    ` <span id=b style="font-family: Arial, sans-serif; font-size: 12px; font-weight: 400; color: rgba(0, 0, 255, 0.5)">big</span>` +
    ` <span id=c style="font-family: Georgia; font-size: 20px; font-weight: 700; color: rgb(255, 0, 0)">world</span></p>`);
  select(window, document.getElementById("a").firstChild, 2, document.getElementById("c").firstChild, 3);
  assert.deepEqual(run(window), {
    status: "ok",
    text: "llo big wor",
    styles: [
      { fontFamily: "Georgia", fontSize: "20px", fontWeight: "700", rgba: [255, 0, 0, 255] },
      { fontFamily: "Arial, sans-serif", fontSize: "12px", fontWeight: "400", rgba: [0, 0, 255, 128] },
    ],
  }, "the spaces between the spans add the paragraph's style nowhere");
});

test("a selection inside an open shadow root's text field", () => {
  const { window, document } = page(`<div id=host></div>`);
  const shadow = document.getElementById("host").attachShadow({ mode: "open" });
  shadow.innerHTML = `<textarea style="font-family: Menlo; font-size: 14px; font-weight: 400; color: rgb(1, 2, 3)">one two three</textarea>`;
  const field = shadow.querySelector("textarea");
  field.focus();
  field.setSelectionRange(4, 7);
  assert.deepEqual(run(window), {
    status: "ok",
    text: "two",
    styles: [{ fontFamily: "Menlo", fontSize: "14px", fontWeight: "400", rgba: [1, 2, 3, 255] }],
  });
});

test("text fields: a slice of the value; a blank slice is empty", () => {
  const { window, document } = page(`<textarea id=t style="font-size: 11px">alpha    beta</textarea>`);
  const field = document.getElementById("t");
  field.focus();
  field.setSelectionRange(0, 5);
  const answer = run(window);
  assert.equal(answer.status, "ok");
  assert.equal(answer.text, "alpha");
  assert.equal(answer.styles[0].fontSize, "11px");
  field.setSelectionRange(5, 9);
  assert.deepEqual(run(window), { status: "empty" });
});

test("nothing readable: blank, collapsed, a password field, a frame of another origin", () => {
  const cases = [
    ["a blank selection", (window, document) => {
      const text = document.getElementById("blank").firstChild;
      select(window, text, 0, text, text.data.length);
    }, { status: "empty", text: "   \n\t ", styles: [] }],
    ["no selection", () => {}, { status: "empty" }],
    ["a focused password field", (window, document) => {
      const field = document.getElementById("password");
      field.focus();
      field.setSelectionRange(0, 3);
    }, { status: "protected" }],
    ["a frame whose document throws", (window, document) => {
      const frame = document.getElementById("frame");
      Object.defineProperty(frame, "contentWindow", {
        get() { return { get document() { throw new window.DOMException("Blocked a frame", "SecurityError"); } }; },
      });
      frame.focus();
      Object.defineProperty(document, "activeElement", { get() { return frame; } });
    }, { status: "frame" }],
  ];
  for (const [name, arrange, expected] of cases) {
    const { window, document } = page(
      `<p id=blank>   \n\t </p><input id=password type=password value="secret"><iframe id=frame></iframe>`);
    arrange(window, document);
    assert.deepEqual(run(window), expected, name);
  }
});

test("a selection of more than 200000 code units is over the limit", () => {
  for (const [length, status] of [[200000, "ok"], [200001, "limit"]]) {
    const { window, document } = page(`<p id=p></p>`);
    const text = document.createTextNode("a".repeat(length));
    document.getElementById("p").appendChild(text);
    select(window, text, 0, text, length);
    assert.equal(run(window).status, status, `${length} code units`);
  }
});

test("a selection over more than 20000 text nodes is over the limit", () => {
  for (const [count, status] of [[20000, "ok"], [20001, "limit"]]) {
    const { window, document } = page(`<div id=d></div>`);
    const holder = document.getElementById("d");
    for (let i = 0; i < count; i++) holder.appendChild(document.createTextNode("x"));
    select(window, holder, 0, holder, count);
    // jsdom's Selection.toString is quadratic in the nodes; the selection is the holder's whole text.
    window.Selection.prototype.toString = () => holder.textContent;
    assert.equal(run(window).status, status, `${count} text nodes`);
  }
});

test("more than 128 distinct styles, or a font family over 2048 code units, is unsupported", () => {
  for (const [count, status] of [[128, "ok"], [129, "unsupported"]]) {
    const spans = Array.from({ length: count }, (_, i) => `<span style="font-size: ${i + 1}px">w</span>`).join("");
    const { window, document } = page(`<p id=p>${spans}</p>`);
    const p = document.getElementById("p");
    select(window, p, 0, p, count);
    assert.equal(run(window).status, status, `${count} styles`);
  }
  for (const [length, status] of [[2048, "ok"], [2049, "unsupported"]]) {
    const family = "f".repeat(length);
    const { window, document } = page(`<p><span id=s style="font-family: ${family}">word</span></p>`);
    const text = document.getElementById("s").firstChild;
    select(window, text, 0, text, 4);
    const answer = run(window);
    assert.equal(answer.status, status, `a family of ${length} code units`);
    if (status === "ok") assert.equal(answer.styles[0].fontFamily.length, length);
  }
});

test("without a canvas the colour is left empty", () => {
  const { window, document } = page(`<p><span id=s style="color: rgb(9, 9, 9)">word</span></p>`, { canvas: false });
  const text = document.getElementById("s").firstChild;
  select(window, text, 0, text, 4);
  const answer = run(window);
  assert.equal(answer.status, "ok");
  assert.deepEqual(answer.styles[0].rgba, []);
});
