"use strict";
const { test } = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const path = require("node:path");
const acorn = require("acorn");

const STATION = path.join(__dirname, "../../station");

function* scripts(folder) {
  for (const entry of fs.readdirSync(folder, { withFileTypes: true })) {
    const file = path.join(folder, entry.name);
    if (entry.isDirectory()) yield* scripts(file);
    else if (entry.name.endsWith(".js")) yield [file, fs.readFileSync(file, "utf8")];
    else if (/\.html?$/.test(entry.name)) {
      const inline = /<script\b[^>]*>([\s\S]*?)<\/script>/gi;
      for (let m; (m = inline.exec(fs.readFileSync(file, "utf8")));) yield [`${file} (inline)`, m[1]];
    }
  }
}

// The page also runs in the system's old browser control: no let, const, arrows or classes.
test("every script of the station page parses as ES5", () => {
  const checked = [];
  for (const [file, source] of scripts(STATION)) {
    assert.doesNotThrow(() => acorn.parse(source, { ecmaVersion: 5 }), file);
    checked.push(path.basename(file));
  }
  assert.ok(checked.includes("player.js"), `checked ${checked}`);
});
