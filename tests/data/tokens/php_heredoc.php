<!-- args: --lang php -->
<?php
$a = <<<"EOT"
  text with $vars and EOTX
  EOT;
$b = <<<'RAW'
raw $text
RAW . 'x';
if ($a <=> $b) { print(__LINE__); } elseif (TRUE) {} ENDIF;
?>
<a href="<?= $url ?>" class=<?= $c ?>x>link</a>
<p style="color: <?= $colour ?>; margin: 0">text</p>
<script>let a = "<?php echo 1 ?>", b = f('<?= $b ?>', 2);</script>
