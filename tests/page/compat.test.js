// The page runs in IE11's engine, which no browser here can start: its scripts and styles are
// checked against that engine's compat data instead.
"use strict";
const { test } = require("node:test");
const assert = require("node:assert/strict");
const { ESLint } = require("eslint");

test("the page's scripts use only what IE11 has and its styles use only what it keeps, or they test for it first", async () => {
  const { default: stylelint } = await import("stylelint");
  const cwd = `${__dirname}/../..`, eslint = new ESLint({ cwd, overrideConfigFile: `${__dirname}/eslint.config.mjs` });
  const scripts = await eslint.lintFiles(["station/sonbrel/*.js"]);
  const { results: styles } = await stylelint.lint({ cwd, files: ["station/sonbrel/*.css"], configFile: `${__dirname}/stylelint.config.mjs` });
  assert.ok(scripts.length > 0 && styles.length > 0, "nothing was checked");
  assert.deepEqual([...scripts.flatMap((r) => r.messages.map((m) => `${r.filePath}:${m.line}:${m.column} ${m.message}`)),
    ...styles.flatMap((r) => r.warnings.map((w) => `${r.source}:${w.line}:${w.column} ${w.text}`))], []);
});
